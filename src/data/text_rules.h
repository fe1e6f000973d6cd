#pragma once

#include "data/fixed_table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace tomarina {

// The leading number of a text: blanks, tabs and line feeds are ignored wherever they stand, then an
// optional sign, digits and at most one decimal point up to the first other character; no number gives 0.
double leading_number(QStringView text);
double leading_number(QByteArrayView text);

// Whole-number rounding of the data's numbers: halves go to the even neighbour.
long long round_even(double v);

// The numeric pictures of the files and windows: '0' is a digit always written, '#' one written only when
// needed, ',' groups thousands; any other character is copied. Halves round away from zero.
QString format_picture(double value, QStringView picture);

// A text put through a numeric picture: a text that reads as a currency amount is formatted as that
// amount, any other text comes back unchanged.
QString format_text_picture(QStringView text, QStringView picture);

// A currency amount of the Japanese locale: blanks, an optional sign, an optional yen sign,
// digits with group commas, an optional decimal part.
std::optional<double> read_currency(QStringView text);

// "\" followed by the amount with thousands separators.
QString format_yen(double amount);

// The number behind a directory hotel's price text.
Long price_number(QStringView text);
// The number behind a user hotel's rate text.
Long user_price_number(QStringView text);

// text without the blanks (U+0020) at both ends, and with wide also without the ideographic spaces.
QStringView trimmed_view(QStringView text, bool wide = false);
inline QString trim(QStringView text) {
    return trimmed_view(text).toString();
}
inline QString trim_wide(QStringView text) {
    return trimmed_view(text, true).toString();
}

// How read_fields reads a line.
struct FieldRules {
    bool doubled_quotes = true; // "" inside a quoted field is one quote
    bool skip_blanks = true;    // blanks and tabs before a field are passed over
    int most = 1 << 30;         // fields read at most; the rest of the line is passed over
};
// The comma-separated fields of the line at pos in text, as the program's files are read: a field that
// starts with a quote runs to its closing quote (or the end of text), and what follows that up to the
// next comma is passed over; any other field runs to the next comma, its blanks kept. The line ends at
// CR, LF or CR LF outside quotes, or at the end of text; pos moves past it.
QStringList read_fields(QStringView text, qsizetype& pos, FieldRules rules = {});
inline QStringList read_fields(QStringView line, FieldRules rules = {}) {
    qsizetype pos = 0;
    return read_fields(line, pos, rules);
}

// Letters, digits, symbols and the blank to their full-width forms; half-width katakana to full-width
// with voiced marks joined; the code page's conventions for \ ' " ~.
QString to_full_width(QStringView text);
// The same written to out, which has room for text.size() characters; returns the number written.
qsizetype to_full_width(QStringView text, char16_t* out);

// Code page 932.
QString decode_cp932(QByteArrayView bytes);
// The same written to out, which has room for cp932_room(bytes.size()) characters; returns the number
// written.
qsizetype decode_cp932(QByteArrayView bytes, char16_t* out);
qsizetype cp932_room(qsizetype bytes);
// The text of one of the user's files (settings, user hotels), read so that every byte comes back when
// written with encode_cp932_file: a byte that is no character of the code page reads as a code point of
// its own, U+F780..U+F7FF. A final 0x1A is the old end-of-file mark, not data.
QString decode_cp932_file(QByteArrayView bytes);
// The same without the end-of-file mark, for a part of a file.
QString decode_cp932_kept(QByteArrayView bytes);
// The bytes of a text read by decode_cp932_file or typed; nothing when a character has no code page form.
std::optional<QByteArray> encode_cp932_file(QStringView text);
// The code point a byte that is no character of the code page reads as.
inline constexpr char16_t kept_byte_base = 0xF700;
QByteArray encode_cp932(QStringView text);
// text without control characters (CR, LF, tab, ...) and without characters the files cannot hold.
QString storable_in_file(QStringView text);
// Every character of text has a code page 932 form.
bool cp932_encodable(QStringView text);

// Day number counted from 30 December 1899 as "yyyy/mm/dd"; empty outside the years 100..9999.
QString serial_date(long long day);

// Read-only displays show the data's yen sign U+005C as "¥"; text boxes take "¥" back to U+005C
// (input_form).
QString yen_for_display(QString text);

// The one form of what is typed or pasted into any text box: the yen sign (U+00A5) becomes the data's
// yen sign U+005C, and the characters an input method gives where code page 932 holds a twin of the same
// meaning become that twin (〜 U+301C to ～ U+FF5E, − U+2212 to － U+FF0D, ...). Keeps the length.
QString input_form(QString text);

} // namespace tomarina
