#pragma once

#include "data/database.h"
#include "data/hotel_tables.h"
#include "data/user_file.h"
#include "data/user_tables.h"
#include "shared/order_state.h"

#include <QObject>
#include <functional>

namespace tomarina {

// Removes the user hotel shown in list row `row`: the records after it move up one and the list keeps
// every other hotel once, in its order, and user_count is one less.
void del_data(UserTables& u, OrderState& o, int row);

// The directory with the user's hotels: the directory file and its tables, the user's own hotels and
// the maintenance list's order of them. They are read here and changed only through these functions,
// each of which tells its change as it makes it; a change that leaves them as they were tells nothing.
class Directory : public QObject {
    Q_OBJECT
  public:
    // The directory's hotels, with the user's appended behind them once a search window added them.
    const HotelTables& tables() const { return db_; }
    const UserTables& user_hotels() const { return user_; }
    // The maintenance list's ordering and the user hotel shown in each of its rows.
    const OrderState& order() const { return order_; }
    // Whether the directory file is open.
    bool file_open() const { return dat_open_flg_ == 1; }

    // Opens the directory file read-only unless it is open; false when it cannot be opened.
    bool open_file(const QString& path);
    void close_file();
    // Reads the directory with read (the loader over the open file, or tables a test makes); emits
    // hotels_changed.
    void load(const std::function<void(HotelTables&)>& read);
    // Reads the open file with the hooks between the loader's steps; the number of failed steps.
    int load_file(const LoadHooks& hooks = {});
    // Appends the user hotels behind the directory's, unless they are there as they now are; gives how
    // many did not fit. Emits hotels_changed when it appends.
    int add_user_hotels();

    // The user file read into the user hotels (read_user_file), and read again for a cancel
    // (reread_user_file: one that cannot be read leaves no user hotels). False when it cannot be read.
    bool read_user_file(const QString& path, const QString& tmp_path);
    bool reread_user_file(const QString& path, const QString& tmp_path);
    // The nine fields stored as user hotel index, or as one more behind the others.
    void replace_user_hotel(int index, const EditFields& f);
    void add_user_hotel(const EditFields& f);
    // Removes the user hotel of list row `row`; a row that is not there removes nothing.
    void delete_user_hotel(int row);

    // The list shows the user hotels in the file's order; order_changed tells a change of the list's
    // ordering or of its rows' order (a deletion, which takes a row away, tells user_hotels_changed).
    void list_in_file_order();
    // Orders the list by the ordering of that name.
    void order_by(const QString& name);

  signals:
    void hotels_changed();
    void user_hotels_changed();
    void order_changed();

  private:
    // Runs change over the user hotels and the list, and tells what it changed, even when it fails midway.
    void change_user(const std::function<void()>& change);

    DatabaseFile dat_;
    Integer dat_open_flg_ = 0;
    HotelTables db_;
    UserTables user_;
    OrderState order_;
};

} // namespace tomarina
