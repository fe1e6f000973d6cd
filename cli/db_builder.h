#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace tomarina {

// Bytes in the directory file's encodings, for the builder and for tests that need odd files.
class ByteWriter {
  public:
    void integer(std::int32_t v);
    void number(float v);
    void end_marker() { number(99999.0f); }
    void text(const QString& s);
    void text_bytes(const QByteArray& bytes, int type = 8);
    void digits2(int v);
    void raw(const QByteArray& bytes) { b_.append(bytes); }
    // Pads to the next block boundary and returns that block's number.
    int start_block();
    int block() const { return int(b_.size() / 1024); }
    const QByteArray& bytes() const { return b_; }
    QByteArray& bytes() { return b_; }

  private:
    QByteArray b_;
};

// A directory as the builder takes it. Hotels are numbered 1.. in list order.
struct DbSource {
    struct Hotel {
        std::int32_t info_no = 0;
        int ken = 0, airport = 0, syousai = 0;
        QString name, tel, rooms, access, price, note, url, address, best;
    };
    QList<std::array<QString, 3>> prefectures; // area, name, alias
    QList<std::array<QString, 4>> regions;
    QList<std::pair<QString, int>> airports; // name, area 1..9
    QStringList districts;
    QList<Hotel> hotels;
    QList<std::array<QString, 3>> reservations; // area, second column, link
    std::int32_t date = 37904;                  // days from 1899-12-30
    // Generator hints, not written to the file: the prefecture of each district, the airport of each
    // prefecture.
    QList<int> district_ken;
    QList<int> ken_airport;
};

// The hotel codes of section 11.
std::int32_t hotel_code_a(std::int32_t info_no);
std::int32_t hotel_code_b(int ken, int airport, int syousai);

// The whole file: sections 1, 2, 3, 4, 11..20 each from a block boundary, then the control block.
QByteArray build_database(const DbSource& src);

// Reads the CSV sources of a folder (UTF-8, one header line each). Returns false with a message.
bool read_sources(const QString& dir, DbSource& src, QString* error);
// Writes the CSV sources to a folder.
bool write_sources(const QString& dir, const DbSource& src, QString* error);

// A synthetic directory of n hotels over the prefectures, airports and districts of base.
void generate_hotels(DbSource& base, int n, std::uint32_t seed);

// CSV of the sources: quoted fields, doubled quotes.
QList<QStringList> parse_csv(const QString& text);
QString csv_line(const QStringList& fields);

} // namespace tomarina
