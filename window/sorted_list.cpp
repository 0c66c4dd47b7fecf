#include "sorted_list.h"

#include "choice_list_view.h"
#include "cp1252.h"
#include "list_filter.h"
#include "shown_text.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

class SortedListModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !items_ ? 0 : int(items_->rows.size());
    }

    // The view asks for the index of every row each time it lays the list out; this spares
    // that the general checks.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override {
        const bool exists = items_ && row >= 0 && size_t(row) < items_->rows.size() &&
                            column == 0 && !parent.isValid();
        return exists ? createIndex(row, 0) : QModelIndex();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const ListRow* item = index.isValid() ? row(index.row()) : nullptr;
        if (!item) return {};
        if (role == Qt::DisplayRole) return shown(shown_text(*item));
        if (role == Qt::UserRole) return item->number;
        if ((role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) && describe) {
            return describe(item->number);
        }
        return {};
    }

    void replace(LookupList items) {
        beginResetModel();
        items_ = std::move(items);
        endResetModel();
    }

    const ListRow* row(int at) const {
        return at >= 0 && at < rowCount() ? &items_->rows[size_t(at)] : nullptr;
    }

    // Texts are decoded as they are shown, a screenful at a time.
    QString text(const ListRow& row) const { return from_cp1252(items_->text(row)); }
    // Windows-1252 has one byte per character, so a long item is cut before it is decoded.
    QString shown_text(const ListRow& row) const {
        const std::string_view bytes = items_->text(row);
        if (qsizetype(bytes.size()) <= ListItemLimit) return from_cp1252(bytes);
        return from_cp1252(bytes.substr(0, std::size_t(ListItemLimit))) + QStringLiteral(" \u2026");
    }

  private:
    // An item is one line in the box; line breaks inside a value show as blanks.
    static QString shown(QString text) {
        if (!text.contains(u'\r') && !text.contains(u'\n')) return text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(u'\r', u' ');
        text.replace(u'\n', u' ');
        return text;
    }

    LookupList items_;

  public:
    // The tooltip and accessible description of an item, from its number.
    std::function<QString(std::int32_t)> describe;
};

SortedList::SortedList(bool with_edit_field, QWidget* parent)
    : QWidget(parent), model_(new SortedListModel(this)), filter_(std::make_unique<ListFilter>()) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (with_edit_field) {
        edit_ = new QLineEdit(this);
        edit_->installEventFilter(this);
        connect(edit_, &QLineEdit::textEdited, this, &SortedList::typed);
        layout->addWidget(edit_);
        count_ = new QLabel(edit_);
        count_->setObjectName(QStringLiteral("finder_count"));
        count_->setForegroundRole(QPalette::PlaceholderText);
        count_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    auto* view = new ChoiceListView(this);
    view_ = view;
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every item is one line high, which keeps tens of thousands of items quick to lay out.
    view_->setUniformItemSizes(true);
    layout->addWidget(view_);

    connect(view, &ChoiceListView::chosen, this, &SortedList::chosen);
}

SortedList::~SortedList() = default;

void SortedList::clear() {
    set_items({});
}

void SortedList::set_items(LookupList items) {
    items_ = std::move(items);
    finding_ = items_ && !items_->rows.empty() ? Finding::Narrows : Finding::EveryBox;
    if (edit_) edit_->clear();
    model_->replace(items_);
    show_status();
    emit items_replaced();
}

void SortedList::show_found(LookupList found) {
    items_ = std::move(found);
    finding_ = Finding::EveryBox;
    model_->replace(items_);
    if (edit_ && !edit_->text().isEmpty() && count() > 0) highlight(0);
    show_status();
}

void SortedList::describe_items(const QString& what, const QString& hint, const QString& shorter) {
    what_ = what;
    hint_ = hint;
    shorter_hint_ = shorter.isEmpty() ? hint : shorter;
    show_status();
}

void SortedList::typed(const QString& text) {
    if (finding_ == Finding::EveryBox) {
        emit find_everywhere(text);
    } else {
        narrow(text);
    }
}

void SortedList::narrow(const QString& typed) {
    model_->replace(filter_->filter(items_, typed));
    if (!typed.isEmpty() && count() > 0) highlight(0);
    show_status();
}

QString SortedList::count_text() const {
    return count_ ? count_->text() : QString();
}

namespace {

// The first of `texts` that fits in `width` pixels, else the last.
QString fitting(const QFontMetrics& metrics, int width, const QStringList& texts) {
    for (const QString& text : texts) {
        if (metrics.horizontalAdvance(text) <= width) return text;
    }
    return texts.last();
}

void set_accessible_name(QWidget* widget, const QString& name) {
    // Each change is announced: only a real one is made.
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

} // namespace

void SortedList::show_status() {
    const QLocale locale;
    const int shown = count();
    const int all = items_ ? int(items_->rows.size()) : 0;
    if (!edit_) {
        if (!what_.isEmpty()) set_accessible_name(view_, QStringLiteral("%1, %2").arg(what_, locale.toString(all)));
        return;
    }
    const QString typed = edit_->text();
    const QFontMetrics metrics = edit_->fontMetrics();
    // Room in the field beside the typed text, and what the field's frame and margins take.
    constexpr int Margins = 8;
    const int room = edit_->width() - metrics.horizontalAdvance(typed) - 2 * Margins;
    QString name;
    QString count;
    QString hint;
    QString description;
    if (finding_ == Finding::EveryBox) {
        hint = tr("Find in every box");
        description = tr("Typing finds the text in every box of every entry");
        name = typed.isEmpty() ? tr("Lower box, nothing listed")
                               : tr("People holding ‘%1’, %2").arg(typed, locale.toString(shown));
        if (!typed.isEmpty()) {
            const QString n = locale.toString(shown);
            count = shown == 0 ? fitting(metrics, room, {tr("no match in any box"), tr("no match")})
                               : fitting(metrics, room, {tr("%1 found in every box").arg(n),
                                                         tr("%1 in every box").arg(n),
                                                         tr("%1 found").arg(n)});
        }
    } else {
        hint = metrics.horizontalAdvance(hint_) <= edit_->width() - 2 * Margins ? hint_ : shorter_hint_;
        description = tr("%1; Control+Return finds the text in every box").arg(hint_);
        name = typed.isEmpty() ? QStringLiteral("%1, %2").arg(what_, locale.toString(all))
                               : tr("%1 holding ‘%2’, %3 of %4")
                                     .arg(what_, typed, locale.toString(shown), locale.toString(all));
        if (!typed.isEmpty()) {
            count = shown == 0 ? fitting(metrics, room,
                                         {tr("no match – Return finds in every box"),
                                          tr("no match – Return: every box"), tr("no match")})
                               : fitting(metrics, room,
                                         {tr("%1 of %2").arg(locale.toString(shown), locale.toString(all)),
                                          locale.toString(shown)});
        }
    }
    if (edit_->placeholderText() != hint) edit_->setPlaceholderText(hint);
    if (edit_->accessibleDescription() != description) edit_->setAccessibleDescription(description);
    set_accessible_name(view_, name);
    if (count_->text() != count) {
        count_->setText(count);
        count_->setAccessibleName(count);
    }
    const int width = count.isEmpty() ? 0 : metrics.horizontalAdvance(count) + 4;
    count_->setGeometry(edit_->width() - width - 3, 0, width, edit_->height());
    count_->setVisible(!count.isEmpty());
    edit_->setTextMargins(0, 0, width, 0);
}

void SortedList::highlight(int row) {
    view_->highlight(row);
}

void SortedList::set_describer(std::function<QString(std::int32_t)> describe) {
    model_->describe = std::move(describe);
}

bool SortedList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::Resize) show_status();
    if (watched != edit_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Down:
        if (modifiers != Qt::NoModifier || count() == 0) return false;
        if (list_index() < 0) view_->highlight(0);
        view_->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers == Qt::ControlModifier) {
            if (!edit_->text().isEmpty()) emit find_everywhere(edit_->text());
            return true;
        }
        if (modifiers != Qt::NoModifier) return false;
        if (list_index() >= 0) {
            set_list_index(list_index());
        } else if (!edit_->text().isEmpty() && count() == 0 && finding_ == Finding::Narrows) {
            // The field says so beforehand ("no match – Return finds in every box") and shows
            // the people found afterwards ("3 found in every box").
            emit find_everywhere(edit_->text());
        }
        return true;
    case Qt::Key_Escape:
        if (edit_->text().isEmpty()) return false;
        edit_->clear();
        typed({});
        return true;
    default:
        return false;
    }
}

int SortedList::count() const {
    return model_->rowCount();
}

QString SortedList::text(int row) const {
    const ListRow* item = model_->row(row);
    return item ? model_->text(*item) : QString();
}

std::int32_t SortedList::item_data(int row) const {
    const ListRow* item = model_->row(row);
    return item ? item->number : 0;
}

int SortedList::list_index() const {
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SortedList::set_list_index(int row) {
    if (row < 0 || row >= count()) {
        view_->selectionModel()->clearSelection();
        return;
    }
    view_->highlight(row);
    emit chosen(row);
}
