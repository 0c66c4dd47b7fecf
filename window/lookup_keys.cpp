#include "frm_ZEL.h"

#include "lookup_items.h"
#include "sorted_list.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QRadioButton>

namespace {

// Alt+Down in a box opens the look-up of the caption it stands beside and goes to its list:
// no Tab stop reaches the captions, so this is the keyboard's way to them.
class LookupKeys : public QObject {
  public:
    explicit LookupKeys(frm_ZEL* window) : QObject(window), window_(window) {}

    void add(QWidget* box, int label) {
        labels_.insert(box, label);
        box->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Down ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) {
            return false;
        }
        const auto label = labels_.constFind(watched);
        if (label == labels_.cend()) return false;
        window_->open_lookup_by_key(*label);
        return true;
    }

  private:
    frm_ZEL* window_;
    QHash<const QObject*, int> labels_;
};

} // namespace

void frm_ZEL::install_lookup_keys() {
    auto* keys = new LookupKeys(this);
    for (int s = 0; s < TextSlotCount; ++s)
        keys->add(Text1[std::size_t(s)], TextSlotFields[std::size_t(s)].label);
    // The title row stands beside "Title"; the collaboration choice belongs to the equipment.
    for (QRadioButton* button : Opt_Mr_Mrs) keys->add(button, TitleLabel);
    for (QCheckBox* box : chk_titel) keys->add(box, TitleLabel);
    for (QCheckBox* box : Chk_organ) keys->add(box, OrganizationLabel);
    for (QCheckBox* box : Chh_equipm) keys->add(box, EquipmentLabel);
    for (QRadioButton* button : Option1) keys->add(button, EquipmentLabel);
}

void frm_ZEL::open_lookup_by_key(int label) {
    const LookupKind kind = lookup_category(label).kind;
    if (kind == LookupKind::None) return;
    // The key opens a look-up and never closes one, unlike a second click on the caption.
    if (LookupCategory != label) label1[std::size_t(label)]->click();
    SortedList* list = kind == LookupKind::TwoStep ? List2 : list1;
    list->view()->setFocus(Qt::OtherFocusReason);
}
