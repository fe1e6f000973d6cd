#pragma once

#include "data/hotel_tables.h"

#include <QByteArray>
#include <QFile>
#include <functional>
#include <memory>
#include <stdexcept>

namespace tomarina {

// The database file, open read-only from start-up to the end. Its bytes are read into memory at the
// open: a mapped file that shrinks or fails to read under the loader would end the program with SIGBUS.
class DatabaseFile {
  public:
    // Files of this many blocks or more are not read: their block count does not fit the 16-bit
    // Integer, so the loader could not use them anyway.
    static constexpr qint64 unreadable_size = 32768 * qint64(1024);

    bool open(const QString& path);
    void close();
    QByteArrayView bytes() const { return view_; }

  private:
    std::unique_ptr<QFile> file_;
    QByteArray owned_;
    QByteArrayView view_;
};

// The data ran out before the section was complete: the section ends there.
struct EndOfData {};
// The data cannot be read on: the step stops there.
struct BadData : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Calls between the loader's steps, each run as a step of its own: started after the control block with
// the file's number of blocks, progress with a section's first block just before the section is read,
// user_hotels after the sections and finished after that, before the directory's date.
struct LoadHooks {
    std::function<void(int blocks)> started;
    std::function<void(int block)> progress;
    std::function<void()> user_hotels;
    std::function<void()> finished;
};

// The loader steps. Each reads its own sections into the tables; each may throw, which stops that step
// only.
class Loader {
  public:
    Loader(HotelTables& t, QByteArrayView file);

    void get_control();
    void get_todouhuken();
    void get_tiiki();
    void get_airport();
    void get_syousai();
    void get_hotel();
    void get_url();
    void get_best();
    void set_db_date();

    // Every step in its order, each on its own, with the hooks between them. Returns the number of steps
    // that failed.
    int load_all(const LoadHooks& hooks = {});

    static double cnv_data(std::int32_t in_data);
    static constexpr double end_marker = 99999.0;

  private:
    class Cursor;
    Cursor seek(int section) const;
    void progress(int section);
    template <typename Store> void marked_list(Cursor& c, Store store);
    void require_control() const;

    HotelTables& t_;
    QByteArrayView file_;
    std::function<void(int)> progress_;
    bool control_ok_ = false;
};

} // namespace tomarina
