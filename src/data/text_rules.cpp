#include "data/text_rules.h"

#include <QDate>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace tomarina {

namespace {

// The quote that encloses a field of the CSV files.
constexpr char16_t quote_mark = 0x22;

inline char16_t char_at(QStringView v, qsizetype k) {
    return v[k].unicode();
}
inline char16_t char_at(QByteArrayView v, qsizetype k) {
    return char16_t(uchar(v[k]));
}

template <typename View> double leading_number_impl(const View& text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto ch = [&](qsizetype k) -> char16_t { return char_at(text, k); };
    auto skip_blanks = [&] {
        while (i < n && (ch(i) == u' ' || ch(i) == u'\t' || ch(i) == u'\n')) ++i;
    };
    skip_blanks();
    bool negative = false;
    if (i < n && (ch(i) == u'+' || ch(i) == u'-')) {
        negative = ch(i) == u'-';
        ++i;
    }
    double whole = 0;
    double scale = 1;
    bool point = false;
    for (;;) {
        skip_blanks();
        if (i >= n) break;
        const char16_t c = ch(i);
        if (c >= u'0' && c <= u'9') {
            if (point) {
                scale /= 10;
                whole += (c - u'0') * scale;
            } else {
                whole = whole * 10 + (c - u'0');
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        ++i;
    }
    return negative ? -whole : whole;
}

} // namespace

double leading_number(QStringView text) {
    return leading_number_impl(text);
}
double leading_number(QByteArrayView text) {
    return leading_number_impl(text);
}

long long round_even(double v) {
    if (!std::isfinite(v)) throw std::overflow_error("not a number");
    if (v > 9.2e18 || v < -9.2e18) throw std::overflow_error("too large");
    return static_cast<long long>(std::nearbyint(v));
}

QString format_picture(double value, QStringView picture) {
    int min_digits = 0;
    bool grouping = false;
    qsizetype first = -1, last = -1;
    for (qsizetype k = 0; k < picture.size(); ++k) {
        const QChar c = picture[k];
        if (c == u'0' || c == u'#' || c == u',') {
            if (first < 0) first = k;
            last = k;
            if (c == u'0') ++min_digits;
            if (c == u',') grouping = true;
        }
    }
    if (first < 0) return picture.toString();
    const double rounded = std::round(value); // halves away from zero
    const bool negative = rounded < 0;
    QString digits = QString::number(std::fabs(rounded), 'f', 0);
    if (digits == u"0" && min_digits == 0) digits.clear();
    while (digits.size() < min_digits) digits.prepend(u'0');
    if (grouping) {
        for (qsizetype k = digits.size() - 3; k > 0; k -= 3) digits.insert(k, u',');
    }
    QString out = picture.left(first).toString();
    if (negative) out += u'-';
    out += digits;
    out += picture.mid(last + 1);
    return out;
}

std::optional<double> read_currency(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto blanks = [&] {
        while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == QChar(0x3000))) ++i;
    };
    bool negative = false, sign = false, yen = false;
    blanks();
    for (int round = 0; round < 2; ++round) {
        if (i < n && !sign && (text[i] == u'+' || text[i] == u'-')) {
            sign = true;
            negative = text[i] == u'-';
            ++i;
            blanks();
        }
        if (i < n && !yen && text[i] == u'\\') {
            yen = true;
            ++i;
            blanks();
        }
    }
    double whole = 0;
    int digits = 0;
    bool last_comma = false;
    while (i < n) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            whole = whole * 10 + (c.unicode() - u'0');
            ++digits;
            last_comma = false;
        } else if (c == u',' && digits > 0 && !last_comma) {
            last_comma = true;
        } else {
            break;
        }
        ++i;
    }
    if (last_comma) return std::nullopt;
    if (i < n && text[i] == u'.') {
        ++i;
        double scale = 1;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            scale /= 10;
            whole += (text[i].unicode() - u'0') * scale;
            ++digits;
            ++i;
        }
    }
    if (digits == 0) return std::nullopt;
    blanks();
    if (i < n && !sign && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
        blanks();
    }
    if (i != n) return std::nullopt;
    return negative ? -whole : whole;
}

QString format_text_picture(QStringView text, QStringView picture) {
    if (const auto amount = read_currency(text)) return format_picture(*amount, picture);
    return text.toString();
}

QString format_yen(double amount) {
    return format_picture(amount, u"\\###,###,###");
}

Long price_number(QStringView t) {
    if (!t.contains(u'\\')) return to_long(round_even(leading_number(t)));
    if (trim(t).size() <= 1) return 0;
    return to_long(round_even(leading_number(format_text_picture(t, u"#####"))));
}

Long user_price_number(QStringView t) {
    if (!t.contains(u'\\')) return 0;
    if (trim(t).size() <= 1) return 0;
    const auto amount = read_currency(t);
    if (!amount) return 0;
    const double r = std::round(*amount);
    if (r > INT32_MAX || r < INT32_MIN) return 0;
    return Long(r);
}

QStringView trimmed_view(QStringView text, bool wide) {
    auto blank = [wide](QChar c) { return c == u' ' || (wide && c == QChar(0x3000)); };
    qsizetype b = 0, e = text.size();
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    return text.sliced(b, e - b);
}

QStringList read_fields(QStringView text, qsizetype& i, FieldRules rules) {
    const qsizetype n = text.size();
    auto line_end = [&](qsizetype k) { return k >= n || text[k] == u'\r' || text[k] == u'\n'; };
    auto to_comma = [&] {
        while (!line_end(i) && text[i] != u',') ++i;
    };
    QStringList fields;
    fields.reserve(std::min(rules.most, 16)); // a line of the files holds a few fields; one allocation
    for (;;) {
        if (rules.skip_blanks)
            while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
        QString field;
        if (i < n && text[i] == quote_mark) {
            // The field is taken a stretch between quotes at a time, each found by the library's search.
            for (++i; i < n;) {
                qsizetype quote = text.indexOf(quote_mark, i);
                if (quote < 0) quote = n;
                field += text.sliced(i, quote - i);
                i = quote;
                if (i >= n) break;
                if (rules.doubled_quotes && i + 1 < n && text[i + 1] == quote_mark) {
                    field += quote_mark;
                    i += 2;
                } else {
                    ++i;
                    break;
                }
            }
            to_comma();
        } else {
            const qsizetype start = i;
            to_comma();
            field = text.sliced(start, i - start).toString();
        }
        fields << field;
        if (line_end(i) || fields.size() >= rules.most) break;
        ++i; // the comma
    }
    while (!line_end(i)) ++i;
    if (i < n && text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
    if (i < n) ++i;
    return fields;
}

namespace {

// Full-width forms of U+FF61..U+FF9F.
constexpr char16_t kana_wide[] = {u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ',
                                  u'ャ', u'ュ', u'ョ', u'ッ', u'ー', u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ',
                                  u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ', u'チ',
                                  u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ', u'ネ', u'ノ', u'ハ', u'ヒ', u'フ',
                                  u'ヘ', u'ホ', u'マ', u'ミ', u'ム', u'メ', u'モ', u'ヤ', u'ユ', u'ヨ', u'ラ',
                                  u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜'};

} // namespace

QString to_full_width(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    out.resize(to_full_width(text, reinterpret_cast<char16_t*>(out.data())));
    return out;
}

qsizetype to_full_width(QStringView text, char16_t* const begin) {
    char16_t* out = begin;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char16_t c = text[k].unicode();
        if (c == u' ') {
            *out++ = 0x3000;
        } else if (c == u'\\') {
            *out++ = 0xFFE5;
        } else if (c == u'\'') {
            *out++ = 0x2019;
        } else if (c == quote_mark) {
            *out++ = 0x201D;
        } else if (c >= 0x21 && c <= 0x7E) {
            *out++ = char16_t(c + 0xFEE0);
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            char16_t wide = kana_wide[c - 0xFF61];
            const char16_t next = k + 1 < text.size() ? text[k + 1].unicode() : 0;
            if (next == 0xFF9E) { // voiced mark
                // The voiced form is the next code point for the カ to ト and ハ to ホ rows.
                if ((wide >= u'カ' && wide <= u'ト' && wide != u'ッ') || (wide >= u'ハ' && wide <= u'ホ')) {
                    wide = char16_t(wide + 1);
                    ++k;
                } else if (wide == u'ウ') {
                    wide = u'ヴ';
                    ++k;
                }
            } else if (next == 0xFF9F && wide >= u'ハ' && wide <= u'ホ') { // semi-voiced mark
                wide = char16_t(wide + 2);
                ++k;
            }
            *out++ = wide;
        } else {
            *out++ = c;
        }
    }
    return out - begin;
}

namespace {

QStringDecoder& cp932_decoder() {
    thread_local QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    return decoder;
}

constexpr char16_t no_char = 0xFFFF;

bool lead_byte(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool trail_byte(uchar b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The codec's reading of in and whether it met an error. A converter keeps its error flag once set, so
// each conversion gets a fresh one.
QString decode(QByteArrayView in, bool& error) {
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    QString s = decoder.decode(in);
    error = decoder.hasError();
    return s;
}

bool kept_byte(char16_t c) {
    return c >= kept_byte_base + 0x80 && c <= kept_byte_base + 0xFF;
}

// What the codec reads each byte and each lead and trail byte pair as, when it reads it as one
// character without error, and the bytes the codec writes each such character as, learnt from the codec.
// The codec costs a set-up per call, which the directory's 150000 short texts would pay each; a text
// made only of sequences known here reads from the table, any other the codec's way, so every text reads
// exactly as the codec reads it. A sequence round-trips when its character is written back as bytes of
// the same length (a single byte as itself; the NEC and IBM duplicates as their twin): only those are
// characters to the user's files.
struct Cp932 {
    static constexpr char16_t no_bytes = 0xFFFF; // no lead byte is 0xFF
    std::array<char16_t, 256> single{};
    // Each lead byte's row is learnt the first time a text holds it, with the bytes of its characters:
    // the directory's texts use a few of the 60 rows, and a row with unused pairs costs a codec call for
    // each of them.
    mutable std::vector<char16_t> pair = std::vector<char16_t>(65536, no_char);
    // Per UTF-16 unit: one byte (0..0xFF) or a pair (lead << 8 | trail) that reads back as it. Complete
    // once every row is learnt.
    mutable std::vector<char16_t> bytes = std::vector<char16_t>(65536, no_bytes);
    // What each pair of a learnt row reads as in the user's files (kept_pair), found when the row is
    // learnt: the bytes of its characters are known then and never change after.
    mutable std::vector<char16_t> kept_pairs = std::vector<char16_t>(65536, no_char);
    mutable std::array<std::atomic<bool>, 256> row_learnt{};
    mutable std::atomic<bool> all_learnt{false};
    mutable std::mutex learning;
    std::vector<int> trails;

    static bool usable(char16_t c) { return c != 0xFFFD && c != no_char && !QChar::isSurrogate(c); }

    Cp932() {
        single.fill(no_char);
        bool error = false;
        QString known;
        for (int b = 0; b < 256; ++b) {
            if (lead_byte(uchar(b))) continue;
            // Followed by a byte that could trail it: a byte the codec reads alone stays alone.
            const char in[2] = {char(b), 'A'};
            const QString s = decode(QByteArrayView(in, 2), error);
            if (!error && s.size() == 2 && s.at(1) == u'A' && usable(s.at(0).unicode()))
                known += QChar(single[std::size_t(b)] = s.at(0).unicode());
        }
        learn_bytes(known);
        for (int trail = 0; trail < 256; ++trail)
            if (trail_byte(uchar(trail))) trails.push_back(trail);
        // A single byte's bytes are learnt above and never change after.
        for (int b = 0; b < 256; ++b) {
            const char16_t c = kept_single(uchar(b));
            file_single[std::size_t(b)] = c != no_char ? c : char16_t(kept_byte_base + b);
            leads[std::size_t(b)] = lead_byte(uchar(b));
            trailing[std::size_t(b)] = trail_byte(uchar(b));
        }
        for (int b = 0; b < 0x80; ++b)
            if (file_single[std::size_t(b)] != b) odd_bytes.push_back(char(b));
    }

    // What a byte alone is in the user's files: its character when it round-trips, else a kept byte; and
    // which bytes lead a pair. Looked up once a byte: the files are read a byte at a time.
    std::array<char16_t, 256> file_single{};
    std::array<bool, 256> leads{};
    std::array<bool, 256> trailing{};
    // The ASCII bytes that read as another character, and the ASCII characters written as another byte
    // (the codec swaps a few controls): an ASCII text without them is converted whole by the library.
    std::vector<char> odd_bytes;
    mutable std::vector<char16_t> odd_chars; // complete once every row is learnt

    // The bytes the codec writes each character of s as, when they read back as that character; in one
    // call when it can, else one character at a time.
    void learn_bytes(const QString& s) const {
        QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
        const QByteArray back = encoder.encode(s);
        std::vector<char16_t> units;
        for (qsizetype i = 0; i < back.size() && !encoder.hasError(); ++i) {
            const bool two = lead_byte(uchar(back[i])) && i + 1 < back.size();
            units.push_back(char16_t(two ? uchar(back[i]) << 8 | uchar(back[i + 1]) : uchar(back[i])));
            i += two;
        }
        bool error = false;
        const bool whole =
            !encoder.hasError() && qsizetype(units.size()) == s.size() && decode(back, error) == s && !error;
        for (qsizetype k = 0; k < s.size(); ++k) {
            const char16_t c = s.at(k).unicode();
            // Written once: a character's bytes are read without the lock once its row is learnt.
            if (kept_byte(c) || bytes[c] != no_bytes) continue;
            if (whole)
                bytes[c] = units[std::size_t(k)];
            else if (s.size() > 1)
                learn_bytes(QString(QChar(c)));
        }
    }

    // The pairs of a lead byte from trails[first] up to trails[last], in one call; a run with a pair the
    // codec does not read cleanly is halved until that pair stands alone.
    void learn(int lead, std::size_t first, std::size_t last) const {
        QByteArray run;
        for (std::size_t k = first; k <= last; ++k) run.append(char(lead)).append(char(trails[k]));
        bool failed = false;
        const QString s = decode(run, failed);
        const bool clean = !failed && s.size() == qsizetype(last - first + 1) &&
                           std::all_of(s.begin(), s.end(), [](QChar c) { return usable(c.unicode()); });
        if (clean) {
            for (std::size_t k = first; k <= last; ++k)
                pair[std::size_t(lead << 8 | trails[k])] = s.at(qsizetype(k - first)).unicode();
            learn_bytes(s);
        } else if (first < last) {
            const std::size_t middle = first + (last - first) / 2;
            learn(lead, first, middle);
            learn(lead, middle + 1, last);
        }
    }

    void learn_row(int lead) const {
        const std::lock_guard lock(learning);
        if (row_learnt[std::size_t(lead)].load(std::memory_order_relaxed)) return;
        learn(lead, 0, trails.size() - 1);
        for (const int trail : trails) {
            const char16_t c = pair[std::size_t(lead << 8 | trail)];
            if (c != no_char && bytes[c] != no_bytes && bytes[c] > 0xFF)
                kept_pairs[std::size_t(lead << 8 | trail)] = c;
        }
        row_learnt[std::size_t(lead)].store(true, std::memory_order_release);
    }

    char16_t at(uchar lead, uchar trail) const {
        if (!row_learnt[lead].load(std::memory_order_acquire)) learn_row(lead);
        return pair[std::size_t(lead << 8 | trail)];
    }

    // What a byte or a pair reads as in the user's files: no_char unless it round-trips.
    char16_t kept_single(uchar b) const {
        const char16_t c = single[b];
        return c != no_char && bytes[c] == b ? c : no_char;
    }
    char16_t kept_pair(uchar lead, uchar trail) const {
        if (!row_learnt[lead].load(std::memory_order_acquire)) learn_row(lead);
        return kept_pairs[std::size_t(lead << 8 | trail)];
    }

    // The bytes of c, with every row learnt; no_bytes when it has none.
    char16_t bytes_of(char16_t c) const {
        learn_all();
        return bytes[c];
    }
    void learn_all() const {
        if (all_learnt.load(std::memory_order_acquire)) return;
        for (int b = 0; b < 256; ++b)
            if (lead_byte(uchar(b))) learn_row(b);
        const std::lock_guard lock(learning);
        if (all_learnt.load(std::memory_order_relaxed)) return;
        for (char16_t c = 0; c < 0x80; ++c)
            if (bytes[c] != c) odd_chars.push_back(c);
        all_learnt.store(true, std::memory_order_release);
    }
    bool plain_ascii(QByteArrayView in) const {
        return QtPrivate::isAscii(QLatin1StringView(in.data(), in.size())) &&
               std::none_of(odd_bytes.begin(), odd_bytes.end(), [in](char b) { return in.contains(b); });
    }
    bool plain_ascii(QStringView text) const {
        learn_all();
        return QtPrivate::isAscii(text) && std::none_of(odd_chars.begin(), odd_chars.end(),
                                                        [text](char16_t c) { return text.contains(c); });
    }

    // The text read into out (room for bytes.size() characters); -1 at a sequence not known here.
    qsizetype read(QByteArrayView in, char16_t* out) const {
        const auto* b = reinterpret_cast<const uchar*>(in.data());
        const qsizetype n = in.size();
        char16_t* o = out;
        for (qsizetype i = 0; i < n;) {
            char16_t c;
            if (lead_byte(b[i])) {
                if (i + 1 >= n) return -1;
                c = at(b[i], b[i + 1]);
                i += 2;
            } else {
                c = single[b[i]];
                ++i;
            }
            if (c == no_char) return -1;
            *o++ = c;
        }
        return o - out;
    }
};

const Cp932& cp932() {
    static const Cp932 table;
    return table;
}

} // namespace

QString decode_cp932(QByteArrayView bytes) {
    if (bytes.isEmpty()) return QString::fromLatin1(bytes.data(), 0);
    QString out(bytes.size(), Qt::Uninitialized);
    const qsizetype n = cp932().read(bytes, reinterpret_cast<char16_t*>(out.data()));
    if (n < 0) return cp932_decoder().decode(bytes);
    out.truncate(n);
    return out;
}

qsizetype decode_cp932(QByteArrayView bytes, char16_t* out) {
    const qsizetype n = cp932().read(bytes, out);
    if (n >= 0) return n;
    QChar* begin = reinterpret_cast<QChar*>(out);
    return cp932_decoder().appendToBuffer(begin, bytes) - begin;
}

qsizetype cp932_room(qsizetype bytes) {
    return cp932_decoder().requiredSpace(bytes);
}

QString storable_in_file(QStringView text) {
    const Cp932& t = cp932();
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (c.category() != QChar::Other_Control &&
            (kept_byte(c.unicode()) || t.bytes_of(c.unicode()) != Cp932::no_bytes))
            out += c;
    return out;
}

QString decode_cp932_file(QByteArrayView bytes) {
    if (bytes.endsWith('\x1a')) bytes.chop(1);
    return decode_cp932_kept(bytes);
}

QString decode_cp932_kept(QByteArrayView bytes) {
    const Cp932& t = cp932();
    if (!bytes.isEmpty() && t.plain_ascii(bytes)) return QString::fromLatin1(bytes.data(), bytes.size());
    QString out;
    out.resize(bytes.size());
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    const auto* in = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype k = 0;
    for (qsizetype i = 0; i < n;) {
        const uchar b = in[i];
        if (t.leads[b] && i + 1 < n && t.trailing[in[i + 1]]) {
            // A pair that is no character is kept as two bytes, so that what follows is read the same
            // way after a write, whatever form a character written there takes.
            const uchar b2 = in[i + 1];
            if (const char16_t c = t.kept_pair(b, b2); c != no_char) {
                o[k++] = c;
            } else {
                o[k++] = char16_t(kept_byte_base + b);
                o[k++] = b2 < 0x80 ? t.file_single[b2] : char16_t(kept_byte_base + b2);
            }
            i += 2;
            continue;
        }
        o[k++] = t.file_single[b];
        ++i;
    }
    out.truncate(k);
    return out;
}

std::optional<QByteArray> encode_cp932_file(QStringView text) {
    const Cp932& t = cp932();
    try {
        if (!text.isEmpty() && t.plain_ascii(text)) return text.toLatin1();
        // Written in place, at most two bytes a character: the files are written at every save.
        QByteArray out(text.size() * 2, Qt::Uninitialized);
        char* o = out.data();
        // A kept byte never has bytes of its own in the table, so it is told apart only there.
        t.learn_all();
        for (const QChar ch : text) {
            const char16_t c = ch.unicode();
            const char16_t b = t.bytes[c];
            if (b == Cp932::no_bytes) {
                if (!kept_byte(c)) return std::nullopt;
                *o++ = char(c - kept_byte_base);
                continue;
            }
            if (b > 0xFF) *o++ = char(b >> 8);
            *o++ = char(b & 0xFF);
        }
        out.truncate(o - out.constData());
        return out;
    } catch (const std::bad_alloc&) {
        // A text too large for memory in its file form is refused like any other that cannot be written.
        return std::nullopt;
    }
}

QByteArray encode_cp932(QStringView text) {
    thread_local QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

bool cp932_encodable(QStringView text) {
    const QByteArray bytes = encode_cp932(text);
    return decode_cp932(bytes) == text;
}

QString serial_date(long long day) {
    if (day < -657434 || day > 2958465) return {};
    const QDate date = QDate(1899, 12, 30).addDays(day);
    return QString::asprintf("%04d/%02d/%02d", date.year(), date.month(), date.day());
}

QString yen_for_display(QString text) {
    return text.replace(u'\\', QChar(0x00A5));
}

QString input_form(QString text) {
    // Input methods give these where the directory's code page reads as their twin of the same look, so
    // a typed name would never equal the stored one and the user file could not hold it.
    static constexpr std::pair<char16_t, char16_t> twins[] = {
        {0x00A5, u'\\'},  // yen sign: the data's yen sign is the backslash
        {0x301C, 0xFF5E}, // wave dash
        {0x2016, 0x2225}, // double vertical line
        {0x2212, 0xFF0D}, // minus sign
        {0x2014, 0x2015}, // em dash
        {0x00A2, 0xFFE0}, // cent sign
        {0x00A3, 0xFFE1}, // pound sign
        {0x00AC, 0xFFE2}, // not sign
    };
    for (QChar& c : text)
        for (const auto& [from, to] : twins)
            if (c.unicode() == from) c = QChar(to);
    return text;
}

} // namespace tomarina
