#include "listview/BookView.h"

#include <algorithm>
#include <numeric>
#include "listview/BookListView.h"

BookView::BookView(std::unique_ptr<ListViewRows> rows) : rows_(std::move(rows)) {}

void BookView::Show(BookList records)
{
    records_ = std::move(records);
    rows_->BeginChanges(records_.size());
    FillBookRows(*rows_, records_);
    rows_->EndChanges();
    ShowCount();
}

BookPtr BookView::RecordAt(int row) const
{
    if (row < 0 || row >= rows_->Count()) return nullptr;
    return FindBookById(records_, rows_->ItemData(row));
}

BookPtr BookView::SelectedRecord() const
{
    return RecordAt(rows_->SelectedRow());
}

bool BookView::Shows(const BookPtr& record) const
{
    return std::find(records_.begin(), records_.end(), record) != records_.end();
}

void BookView::Add(const BookPtr& record)
{
    std::size_t index = records_.size();
    SortKey key;
    if (order_.column >= 0) {
        key = SortKeyOf(*record, order_.column);
        index = SortedPlace(key);
    }
    InsertAt(index, record, std::move(key));
    rows_->SelectOnly(static_cast<int>(index));
    ShowCount();
}

void BookView::AddAll(const BookList& records, const ProgressReport& progress)
{
    if (records.empty()) return;
    rows_->BeginChanges(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const BookPtr& record = records[i];
        InsertAt(records_.size(), record, order_.column >= 0 ? SortKeyOf(*record, order_.column) : SortKey());
        if (i % kProgressInterval == 0) ReportProgress(progress, i, records.size());
    }
    if (order_.column >= 0) Arrange();
    rows_->EndChanges();
    ReportProgress(progress, records.size(), records.size());
    ShowCount();
}

void BookView::Changed(const BookPtr& record)
{
    const auto found = std::find(records_.begin(), records_.end(), record);
    if (found == records_.end()) return;
    const std::size_t index = static_cast<std::size_t>(found - records_.begin());
    int row = rows_->FindRow(record->GetID(), -1);
    if (order_.column >= 0) {
        SortKey key = SortKeyOf(*record, order_.column);
        const bool stillInPlace = (index == 0 || !SortsBefore(key, keys_[index - 1], order_.ascending)) &&
                                  (index + 1 == keys_.size() || !SortsBefore(keys_[index + 1], key, order_.ascending));
        if (!stillInPlace) {
            records_.erase(found);
            keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(index));
            if (row != -1) rows_->DeleteRow(row);
            const std::size_t place = SortedPlace(key);
            InsertAt(place, record, std::move(key));
            rows_->SelectOnly(static_cast<int>(place));
            return;
        }
        keys_[index] = std::move(key);
    }
    if (row == -1) return;
    RewriteBookRow(*rows_, row, *record);
    rows_->SelectOnly(row);
}

void BookView::Remove(const BookPtr& record)
{
    const auto found = std::find(records_.begin(), records_.end(), record);
    if (found == records_.end()) return;
    if (order_.column >= 0) keys_.erase(keys_.begin() + (found - records_.begin()));
    records_.erase(found);
    DeleteRowsOf(*rows_, record->GetID());
    ShowCount();
}

void BookView::SortBy(int column)
{
    if (column < 0 || column >= kBookColumnCount) return;
    if (column == order_.column) {
        order_.ascending = !order_.ascending;
    } else {
        order_ = {column, true};
        keys_.clear();
        keys_.reserve(records_.size());
        for (const BookPtr& record : records_) keys_.push_back(SortKeyOf(*record, column));
    }
    Arrange();
    rows_->MarkSortColumn(order_.column, order_.ascending);
}

void BookView::Arrange()
{
    // Stable: rows of equal keys keep the order they had.
    std::vector<std::size_t> order(records_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return SortsBefore(keys_[a], keys_[b], order_.ascending);
    });
    BookList records(order.size());
    std::vector<SortKey> keys(order.size());
    std::vector<BookId> ids(order.size());
    for (std::size_t place = 0; place < order.size(); ++place) {
        records[place] = std::move(records_[order[place]]);
        keys[place] = std::move(keys_[order[place]]);
        ids[place] = records[place]->GetID();
    }
    records_ = std::move(records);
    keys_ = std::move(keys);
    rows_->Reorder(ids);
}

std::size_t BookView::SortedPlace(const SortKey& key) const
{
    const auto place = std::upper_bound(keys_.begin(), keys_.end(), key, [this](const SortKey& a, const SortKey& b) {
        return SortsBefore(a, b, order_.ascending);
    });
    return static_cast<std::size_t>(place - keys_.begin());
}

void BookView::InsertAt(std::size_t index, const BookPtr& record, SortKey key)
{
    records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(index), record);
    if (order_.column >= 0) keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(index), std::move(key));
    InsertBookRow(*rows_, static_cast<int>(index), *record);
}

void BookView::ShowCount()
{
    rows_->ShowCount(records_.size());
}
