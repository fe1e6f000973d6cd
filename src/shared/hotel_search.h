#pragma once

#include "data/hotel_tables.h"
#include "shared/order_state.h"
#include "shared/result_rows.h"
#include "shared/search_state.h"

#include <QObject>
#include <QStringList>
#include <functional>

namespace tomarina {

// What a search looks for: the criterion, its key, and the districts that narrow it (none: all).
struct SearchCriterion {
    SearchType type = SearchType::prefecture;
    QString key;
    QStringList districts;
};

// The search with its hits and their order. The windows, tomarina-tool and the benchmark all search
// through it; it tells each change as it makes it.
class HotelSearch : public QObject {
    Q_OBJECT
  public:
    explicit HotelSearch(const HotelTables& db) : db_(db) {}

    // The criterion, the hits in the order the selection found them, and the district lists.
    const SearchState& state() const { return state_; }
    // The last criterion searched for, with its districts.
    SearchCriterion criterion() const;
    // The hits in their order, with copies of the user hotels among them as the search found them.
    const ResultRows& rows() const { return rows_; }
    // The name of the hits' ordering.
    const QString& ordering() const { return order_.sort_key_name; }

    // Selects at most max_hits hotels and orders them, in the default order unless another is named.
    // Tells progress 1 before the selection, 2 after it and, with hits, 3 once they are ordered; after
    // each step go_on may stop the search (false comes back). A search that ran to its end emits searched.
    bool run(const SearchCriterion& criterion, Integer max_hits, const std::function<bool()>& go_on = {},
             const QString& ordering = {});
    // Orders the hits by the ordering of that name (an unknown name keeps their order); emits ordered
    // when the name changes.
    void order_by(const QString& name);

  signals:
    void progress(int step);
    void searched();
    void ordered();

  private:
    const HotelTables& db_;
    SearchState state_;
    ResultOrder order_;
    ResultRows rows_;
};

} // namespace tomarina
