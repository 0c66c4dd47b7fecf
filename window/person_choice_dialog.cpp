#include "person_choice_dialog.h"

#include "cp1252.h"
#include "entry_fields.h"
#include "entry_table.h"
#include "list_filter.h"
#include "message_box.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace {

// "Choose" (the default) and Cancel, which close `dialog` as accepted or rejected.
QDialogButtonBox* choose_or_cancel(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("Choose"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}
PersonChoiceHook& hook() {
    static PersonChoiceHook instance;
    return instance;
}
LikelyChoiceHook& likely_hook() {
    static LikelyChoiceHook instance;
    return instance;
}

// "Surname, First names (City)".
QString line_of(const PersonCandidate& c) {
    QString line = c.surname;
    if (!c.first_names.isEmpty()) line += QStringLiteral(", ") + c.first_names;
    if (!c.city.isEmpty()) line += QStringLiteral(" (") + c.city + u')';
    return line;
}

// Up and down in the finder's line move through its list, so the hands stay on the keys.
class ArrowsToList : public QObject {
  public:
    ArrowsToList(QListWidget* list, QObject* parent) : QObject(parent), list_(list) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_PageUp &&
            key != Qt::Key_PageDown)
            return false;
        QCoreApplication::sendEvent(list_, event);
        return true;
    }

  private:
    QListWidget* list_;
};

// With nobody picked, the first Up or Down picks the best rather than stepping past it.
class FirstArrowPicks : public QObject {
  public:
    FirstArrowPicks(QListWidget* list, QObject* parent) : QObject(parent), list_(list) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !list_->selectedItems().isEmpty() ||
            list_->count() == 0)
            return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
        list_->setCurrentRow(0);
        return true;
    }

  private:
    QListWidget* list_;
};

// Every entry, found by typing any part of "Surname, First names (City)" (case and accents
// ignored); gives the entry chosen, or 0.
std::int16_t find_entry(QWidget* parent, const EntryTable& table) {
    const int last = std::min<int>(table.EntryCount, int(table.text_rows()) - 1);
    QStringList lines;
    lines.reserve(last);
    for (int e = 1; e <= last; ++e) lines << line_of(candidate_of(table, std::int16_t(e)));
    std::vector<std::int16_t> order(std::size_t(std::max(last, 0)));
    std::iota(order.begin(), order.end(), std::int16_t(1));
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(order.begin(), order.end(), [&](std::int16_t a, std::int16_t b) {
        return collator.compare(lines[a - 1], lines[b - 1]) < 0;
    });
    FoldedTexts folded;
    for (const std::int16_t e : order) folded.add(to_cp1252(lines[e - 1]).value_or(std::string()));

    QDialog dialog(parent);
    dialog.setWindowTitle(window_title());
    auto* layout = new QVBoxLayout(&dialog);
    auto* label =
        new QLabel(QStringLiteral("&Find an entry (surname, first names or city):"), &dialog);
    auto* typed = new QLineEdit(&dialog);
    label->setBuddy(typed);
    auto* list = new QListWidget(&dialog);
    typed->installEventFilter(new ArrowsToList(list, &dialog));
    std::vector<std::int16_t> shown;
    const auto refill = [&](const QString& text) {
        shown.clear();
        QStringList found;
        folded.find(fold_text(text.trimmed()), [&](std::int32_t i) {
            shown.push_back(order[std::size_t(i)]);
            found << lines[order[std::size_t(i)] - 1];
        });
        list->clear();
        list->addItems(found);
        list->setCurrentRow(0);
    };
    refill({});
    QObject::connect(typed, &QLineEdit::textChanged, &dialog, refill);

    QDialogButtonBox* buttons = choose_or_cancel(dialog);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(label);
    layout->addWidget(typed);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(480, 400);
    typed->setFocus();
    if (dialog.exec() != QDialog::Accepted) return 0;
    const int row = list->currentRow();
    return row < 0 || row >= int(shown.size()) ? 0 : shown[std::size_t(row)];
}

} // namespace

PersonCandidate candidate_of(const EntryTable& table, std::int16_t e) {
    return {e,
            from_cp1252(table.text(e, SurnameSlot)),
            from_cp1252(table.text(e, FirstNamesSlot)),
            from_cp1252(table.text(e, CitySlot)),
            from_cp1252(table.text(e, CountrySlot)),
            {}};
}

LikelyChoice choose_likely_person(QWidget* parent, const QString& file_name, const QString& person,
                                  const std::vector<PersonCandidate>& candidates,
                                  LikelyChoice by_default, const EntryTable& table) {
    if (likely_hook()) return likely_hook()(candidates, by_default);
    using Kind = LikelyChoice::Kind;

    QDialog dialog(parent);
    dialog.setWindowTitle(window_title());
    auto* layout = new QVBoxLayout(&dialog);
    QString text = QStringLiteral("No entry of the directory names %1, the person of the "
                                  "correction file \"%2\".")
                       .arg(person, QDir::toNativeSeparators(file_name));
    if (!candidates.empty()) text += QStringLiteral(" It may be one of these people:");
    auto* question = new QLabel(text, &dialog);
    question->setWordWrap(true);
    layout->addWidget(question);

    auto* list = new QListWidget(&dialog);
    for (const PersonCandidate& c : candidates)
        list->addItem(line_of(c) + QStringLiteral(": ") + c.reasons);
    list->setVisible(!candidates.empty());
    list->installEventFilter(new FirstArrowPicks(list, &dialog));
    layout->addWidget(list);

    QString what_return_does;
    if (by_default.kind == Kind::Entry && !candidates.empty())
        what_return_does = QStringLiteral("Return chooses %1, who shares the e-mail or two other "
                                          "signs.")
                               .arg(line_of(candidates.front()));
    else if (by_default.kind == Kind::Skip)
        what_return_does = QStringLiteral("None of them shares the e-mail or two other signs, so "
                                          "Return skips this file; pick one to take it.");
    else
        what_return_does = QStringLiteral("Nobody in the directory looks like this person, so "
                                          "Return adds a new entry.");
    auto* note = new QLabel(what_return_does, &dialog);
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* choose =
        buttons->addButton(QStringLiteral("Choose"), QDialogButtonBox::AcceptRole);
    QPushButton* find = buttons->addButton(QStringLiteral("Find another entry\u2026"),
                                           QDialogButtonBox::ActionRole);
    QPushButton* add =
        buttons->addButton(QStringLiteral("Add as a new entry"), QDialogButtonBox::ActionRole);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    choose->setVisible(!candidates.empty());
    choose->setEnabled(by_default.kind == Kind::Entry);
    layout->addWidget(buttons);

    LikelyChoice chosen; // Cancel, Escape and closing skip the file
    QObject::connect(choose, &QPushButton::clicked, &dialog, [&] {
        const QList<QListWidgetItem*> picked = list->selectedItems();
        if (picked.isEmpty()) return;
        chosen = {Kind::Entry, candidates[std::size_t(list->row(picked.front()))].entry};
        dialog.accept();
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, choose, &QPushButton::click);
    QObject::connect(find, &QPushButton::clicked, &dialog, [&] {
        if (const std::int16_t e = find_entry(&dialog, table)) {
            chosen = {Kind::Entry, e};
            dialog.accept();
        }
    });
    QObject::connect(add, &QPushButton::clicked, &dialog, [&] {
        chosen = {Kind::AddNew, 0};
        dialog.accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    if (by_default.kind == Kind::Entry) list->setCurrentRow(0);
    (by_default.kind == Kind::Entry    ? choose
     : by_default.kind == Kind::AddNew ? add
                                       : cancel)
        ->setDefault(true);
    // A person picked by hand is what Return then takes.
    QObject::connect(list, &QListWidget::itemSelectionChanged, &dialog, [list, choose] {
        const bool picked = !list->selectedItems().isEmpty();
        choose->setEnabled(picked);
        if (picked) choose->setDefault(true);
    });
    dialog.resize(560, candidates.empty() ? 120 : 280);
    if (candidates.empty())
        add->setFocus();
    else
        list->setFocus();
    if (dialog.exec() != QDialog::Accepted) return {};
    return chosen;
}

std::int16_t choose_person(QWidget* parent, const QString& file_name,
                           const std::vector<PersonCandidate>& candidates) {
    if (candidates.empty()) return 0;
    if (hook()) return hook()(candidates);

    QDialog dialog(parent);
    dialog.setWindowTitle(window_title());
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("%1 entries name the person of the correction "
                                                "file \"%2\". Which one does it correct?")
                                     .arg(candidates.size())
                                     .arg(QDir::toNativeSeparators(file_name)),
                                 &dialog));
    auto* table = new QTableWidget(int(candidates.size()), 4, &dialog);
    table->setHorizontalHeaderLabels({QStringLiteral("Surname"), QStringLiteral("First Name (s)"),
                                      QStringLiteral("City"), QStringLiteral("Country")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int row = 0; row < int(candidates.size()); ++row) {
        const PersonCandidate& c = candidates[std::size_t(row)];
        const QStringList cells{c.surname, c.first_names, c.city, c.country};
        for (int column = 0; column < 4; ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table->selectRow(0);
    layout->addWidget(table);

    QDialogButtonBox* buttons = choose_or_cancel(dialog);
    QObject::connect(table, &QTableWidget::cellDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(560, 240);
    table->setFocus();
    if (dialog.exec() != QDialog::Accepted) return 0;
    const int row = table->currentRow();
    return row < 0 ? 0 : candidates[std::size_t(row)].entry;
}

void set_likely_choice_hook_for_testing(LikelyChoiceHook hook_for_testing) {
    likely_hook() = std::move(hook_for_testing);
}

void set_person_choice_hook_for_testing(PersonChoiceHook hook_for_testing) {
    hook() = std::move(hook_for_testing);
}
