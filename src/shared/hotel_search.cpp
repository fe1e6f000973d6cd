#include "shared/hotel_search.h"

#include "data/steps.h"
#include "shared/ordering.h"
#include "shared/selection.h"

namespace tomarina {

SearchCriterion HotelSearch::criterion() const {
    SearchCriterion c{state_.search_type, state_.search_key, {}};
    const int n = decltype(state_.narrow_syousai)::held(state_.narrow_count);
    for (int k = 1; k <= n; ++k) c.districts << state_.narrow_syousai(k);
    return c;
}

bool HotelSearch::run(const SearchCriterion& criterion, Integer max_hits, const std::function<bool()>& go_on,
                      const QString& ordering) {
    const auto going = [&go_on] { return !go_on || go_on(); };
    state_.search_type = criterion.type;
    state_.search_key = criterion.key;
    store_narrowing(state_, criterion.districts);
    bool finished = false;
    run_steps(
        {
            {"begun", [this] { emit progress(1); }},
            {"select_hotels", [&] { select_hotels(db_, state_, max_hits); }},
            {"rows", [&] { rows_.take(db_, state_); }},
            {"selected", [this] { emit progress(2); }},
            {"sort_hotel",
             [&] {
                 if (state_.sel_count == 0) return;
                 order_.sort_key_name = ordering.isNull() ? ordering_name(Ordering::ken) : ordering;
                 rows_.sort(order_.sort_key_name, order_);
             }},
            {"ordered",
             [&] {
                 if (state_.sel_count != 0) emit progress(3);
             }},
            {"end", [&] { finished = true; }},
        },
        going);
    if (finished) emit searched();
    return finished;
}

void HotelSearch::order_by(const QString& name) {
    const bool changed = name != order_.sort_key_name;
    order_.sort_key_name = name;
    rows_.sort(name, order_);
    if (changed) emit ordered();
}

} // namespace tomarina
