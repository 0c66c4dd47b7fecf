#include "person_choice_dialog.h"

#include "message_box.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
PersonChoiceHook& hook() {
    static PersonChoiceHook instance;
    return instance;
}
} // namespace

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

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* choose =
        buttons->addButton(QStringLiteral("Choose"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    choose->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(table, &QTableWidget::cellDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(560, 240);
    table->setFocus();
    if (dialog.exec() != QDialog::Accepted) return 0;
    const int row = table->currentRow();
    return row < 0 ? 0 : candidates[std::size_t(row)].entry;
}

void set_person_choice_hook_for_testing(PersonChoiceHook hook_for_testing) {
    hook() = std::move(hook_for_testing);
}
