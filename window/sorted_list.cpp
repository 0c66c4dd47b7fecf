#include "sorted_list.h"

#include "choice_list_view.h"

#include <QAbstractListModel>
#include <QCollator>
#include <QHash>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

class SortedListModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(items_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= int(items_.size())) return {};
        const ListItem& item = items_[size_t(index.row())];
        if (role == Qt::DisplayRole) return shown(item.text);
        if (role == Qt::UserRole) return item.ItemData;
        return {};
    }

    void replace(std::vector<ListItem> items) {
        beginResetModel();
        items_ = std::move(items);
        endResetModel();
    }

    const ListItem* item(int row) const {
        return row >= 0 && row < int(items_.size()) ? &items_[size_t(row)] : nullptr;
    }

  private:
    // An item is one line in the box; line breaks inside a value show as blanks.
    static QString shown(const QString& text) {
        if (!text.contains(u'\r') && !text.contains(u'\n')) return text;
        QString line = text;
        line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        line.replace(u'\r', u' ');
        line.replace(u'\n', u' ');
        return line;
    }

    std::vector<ListItem> items_;
};

SortedList::SortedList(bool with_edit_field, QWidget* parent)
    : QWidget(parent), model_(new SortedListModel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (with_edit_field) {
        edit_ = new QLineEdit(this);
        layout->addWidget(edit_);
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

void SortedList::clear() {
    model_->replace({});
}

// The C locale (LANG=C, as on many servers) collates by code unit and ignores case; English
// gives the usual order of the Latin letters, with case ignored.
static QLocale collation_locale() {
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English) : locale;
}

void SortedList::set_items(std::vector<ListItem> items) {
    QCollator collator{collation_locale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Values repeat (cities, countries, interests): collate each distinct text once. Comparing
    // two texts stops at their first difference, which is cheaper here than making a full
    // collation key of every text.
    QHash<QString, int> distinct_index;
    distinct_index.reserve(qsizetype(items.size()));
    std::vector<int> distinct_of(items.size());
    std::vector<const QString*> distinct;
    for (size_t i = 0; i < items.size(); ++i) {
        auto it = distinct_index.constFind(items[i].text);
        if (it == distinct_index.cend()) {
            it = distinct_index.insert(items[i].text, int(distinct.size()));
            distinct.push_back(&items[i].text);
        }
        distinct_of[i] = *it;
    }
    const auto compare = [&](int a, int b) {
        return collator.compare(*distinct[size_t(a)], *distinct[size_t(b)]);
    };
    std::vector<int> by_text(distinct.size());
    std::iota(by_text.begin(), by_text.end(), 0);
    std::sort(by_text.begin(), by_text.end(), [&](int a, int b) { return compare(a, b) < 0; });
    // Texts that differ only in case share a rank, so they keep the order of adding.
    std::vector<int> rank(distinct.size());
    for (size_t r = 0, value = 0; r < by_text.size(); ++r) {
        if (r > 0 && compare(by_text[r - 1], by_text[r]) != 0) ++value;
        rank[size_t(by_text[r])] = int(value);
    }
    std::vector<size_t> order(items.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return rank[size_t(distinct_of[a])] < rank[size_t(distinct_of[b])];
    });

    std::vector<ListItem> sorted;
    sorted.reserve(items.size());
    for (size_t i : order) sorted.push_back(std::move(items[i]));
    model_->replace(std::move(sorted));
}

int SortedList::count() const {
    return model_->rowCount();
}

QString SortedList::text(int row) const {
    const ListItem* item = model_->item(row);
    return item ? item->text : QString();
}

std::int32_t SortedList::item_data(int row) const {
    const ListItem* item = model_->item(row);
    return item ? item->ItemData : 0;
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
    const QModelIndex index = model_->index(row);
    view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view_->scrollTo(index);
    emit chosen(row);
}
