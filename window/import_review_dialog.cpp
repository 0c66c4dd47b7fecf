#include "import_review_dialog.h"

#include "message_box.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

ReviewHook& hook() {
    static ReviewHook instance;
    return instance;
}

// What the file's column shows: the text, or each reading of a field read two ways.
QString file_cell(const FieldDifference& d) {
    if (!d.two_ways()) return with_break_marks(d.file);
    QStringList readings;
    for (const QString& reading : d.readings)
        readings << (reading.isEmpty() ? QStringLiteral("(empty)") : with_break_marks(reading));
    return readings.join(QStringLiteral("\n\u2014 or \u2014\n"));
}

QTableWidget* difference_table(const std::vector<FieldDifference>& differences, QWidget* parent) {
    auto* table = new QTableWidget(int(differences.size()), 3, parent);
    table->setHorizontalHeaderLabels({QStringLiteral("Field"),
                                      QStringLiteral("The directory holds"),
                                      QStringLiteral("The file says")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setWordWrap(true);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int row = 0; row < int(differences.size()); ++row) {
        const FieldDifference& d = differences[std::size_t(row)];
        const QString field = d.unstorable ? d.field + QStringLiteral(" \u2013 cannot be stored")
                              : d.two_ways()
                                  ? d.field + QStringLiteral(" \u2013 can be read two ways")
                                  : d.field;
        const QStringList cells{field, with_break_marks(d.held), file_cell(d)};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (d.unstorable) {
                item->setForeground(Qt::red);
                item->setToolTip(QStringLiteral("The directory cannot store a double quote or a "
                                                "character outside Windows-1252."));
            } else if (d.two_ways()) {
                item->setForeground(Qt::darkYellow);
                item->setToolTip(QStringLiteral("The entry keeps what the directory holds unless "
                                                "you edit it."));
            }
            table->setItem(row, column, item);
        }
    }
    // Rows take their height once the columns have their width.
    QTimer::singleShot(0, table, &QTableWidget::resizeRowsToContents);
    return table;
}

} // namespace

ReviewAnswer review_import(QWidget* parent, const QString& file_name, const QString& person,
                           const std::vector<FieldDifference>& differences,
                           const QStringList& notes, const QStringList& warnings) {
    if (hook()) return hook()(file_name, differences);

    QDialog dialog(parent);
    dialog.setWindowTitle(window_title());
    auto* layout = new QVBoxLayout(&dialog);
    const QString name = QDir::toNativeSeparators(file_name);
    layout->addWidget(new QLabel(
        differences.empty()
            ? QStringLiteral("The correction file \"%1\" matches the entry of %2.")
                  .arg(name, person)
            : QStringLiteral("The correction file \"%1\" differs from the entry of %2 in %3:")
                  .arg(name, person,
                       differences.size() == 1
                           ? QStringLiteral("one field")
                           : QStringLiteral("%1 fields").arg(differences.size())),
        &dialog));
    for (const QString& note : warnings + notes) {
        auto* label = new QLabel(note, &dialog);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    if (!differences.empty()) layout->addWidget(difference_table(differences, &dialog));
    if (std::any_of(differences.begin(), differences.end(),
                    [](const FieldDifference& d) { return d.unstorable; }))
        layout->addWidget(new QLabel(QStringLiteral("The fields marked in red hold a character "
                                                    "the directory cannot store: edit them first."),
                                     &dialog));

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* store = buttons->addButton(QStringLiteral("Store"), QDialogButtonBox::AcceptRole);
    QPushButton* edit =
        buttons->addButton(QStringLiteral("Edit first"), QDialogButtonBox::ActionRole);
    QPushButton* skip = buttons->addButton(QStringLiteral("Skip"), QDialogButtonBox::RejectRole);
    QPushButton* by_default = warnings.isEmpty() ? store : skip;
    by_default->setDefault(true);
    ReviewAnswer answer = ReviewAnswer::Skip;
    QObject::connect(store, &QPushButton::clicked, &dialog, [&] {
        answer = ReviewAnswer::Store;
        dialog.accept();
    });
    QObject::connect(edit, &QPushButton::clicked, &dialog, [&] {
        answer = ReviewAnswer::EditFirst;
        dialog.accept();
    });
    QObject::connect(skip, &QPushButton::clicked, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(640, differences.empty() ? 120 : 420);
    by_default->setFocus();
    dialog.exec();
    return answer;
}

void set_review_hook_for_testing(ReviewHook hook_for_testing) {
    hook() = std::move(hook_for_testing);
}
