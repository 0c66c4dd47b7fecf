#include "frm_ZEL.h"
#include "lookup_orders.h"

#include "cp1252.h"
#include "lookup_items.h"
#include "sorted_list.h"

#include <QCheckBox>
#include <QFrame>

namespace {

// The kinds' captions are read from the check boxes at each click, so the list always offers
// what the boxes say.
template <std::size_t N>
std::vector<std::string> captions(const std::array<QCheckBox*, N>& boxes, int count) {
    std::vector<std::string> texts;
    for (int k = 0; k < count; ++k) {
        const QString caption = boxes[k]->text();
        texts.push_back(to_cp1252(caption).value_or(caption.toLatin1().toStdString()));
    }
    return texts;
}

} // namespace

void frm_ZEL::label1_Click(int index) {
    if (index < 0 || index >= LabelCount) return;
    if (index == LookupCategory) {
        // A second click closes the look-up; the kinds stay in the hidden upper box.
        list1->clear();
        List2->setVisible(false);
        LookupCategory = -1;
        return;
    }
    list1->clear();
    List2->clear();
    LookupCategory = static_cast<std::int16_t>(index);

    const LookupCategoryRow& category = lookup_category(index);
    switch (category.kind) {
    case LookupKind::Direct:
        list1->set_items(lookup_orders_->values(index));
        break;
    case LookupKind::TwoStep: {
        const auto kinds = index == OrganizationLabel
                               ? captions(Chk_organ, category.check_box_kinds)
                               : captions(Chh_equipm, category.check_box_kinds);
        List2->set_items(lookup_orders_->kinds(index, kinds));
        break;
    }
    case LookupKind::None:
        break;
    }

    switch (category.top) {
    case TopOfColumn::UsagePanel:
        List2->setVisible(false);
        Frame2->setVisible(true);
        break;
    case TopOfColumn::KindList:
        List2->setVisible(true);
        Frame2->setVisible(false);
        break;
    case TopOfColumn::Unchanged:
        break;
    }
}
