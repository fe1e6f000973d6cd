#include "shared/settings.h"

#include "data/regular_file.h"
#include "data/save_file.h"
#include "data/steps.h"
#include "data/text_rules.h"
#include "shared/results_design.h"
#include "shared/shared_texts.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tomarina {

FormPosition& Settings::form(int number) {
    switch (number) {
    case 1:
        return main_menu_window;
    case 11:
        return search_conditions_window;
    case 12:
        return results_window;
    case 13:
        return narrowing_window;
    case 14:
        return picker_window;
    case 15:
        return detail_window;
    case 21:
        return region_window;
    case 31:
        return tools_menu_window;
    case 32:
        return settings_window;
    case 34:
        return about_window;
    case 41:
        return maintenance_list_window;
    case 42:
        return hotel_edit_window;
    case 91:
        return progress_window;
    case 92:
        return browser_window;
    }
    throw std::out_of_range("no saved position for window " + std::to_string(number));
}

void Settings::apply_defaults() {
    auto fill = [](Integer& v, Integer d) {
        if (v == 0) v = d;
    };
    fill(sv_height12, ResultsDesign::height);
    fill(sv_width12, ResultsDesign::width);
    fill(sv_grid1_height12, ResultsDesign::grid_height);
    fill(sv_grid1_width12, ResultsDesign::grid_width);
    for (int k = 0; k < ResultsDesign::columns; ++k)
        fill(sv_colwidth(k), Integer(ResultsDesign::column_widths[k]));
    fill(detail_window.top, 5200);
    fill(detail_window.left, 3800);
}

namespace {

enum class Rule { Whole, Last, Digit, Text };

struct ControlKey {
    const char* key;
    Rule rule;
    const char* picture;
    Integer Settings::*number;
    QString Settings::*text;
};

const ControlKey control_keys[] = {
    {"control1_flg", Rule::Last, "###0", &Settings::control1_flg, nullptr},
    {"control2_flg", Rule::Last, "###0", &Settings::control2_flg, nullptr},
    {"control3_flg", Rule::Last, "###0", &Settings::control3_flg, nullptr},
    {"control9_flg", Rule::Last, "###0", &Settings::control9_flg, nullptr},
    {"sv_count", Rule::Last, "###0", &Settings::sv_count, nullptr},
    {"max_kensuu", Rule::Whole, "####", &Settings::max_kensuu, nullptr},
    {"sv_pop", Rule::Last, "0", &Settings::sv_pop, nullptr},
    {"inet_data1", Rule::Digit, nullptr, nullptr, &Settings::inet_data1},
    {"inet_data2", Rule::Text, nullptr, nullptr, &Settings::inet_data2},
    {"sv_height12", Rule::Whole, "#####", &Settings::sv_height12, nullptr},
    {"sv_width12", Rule::Whole, "#####", &Settings::sv_width12, nullptr},
    {"sv_grid1_height12", Rule::Whole, "#####", &Settings::sv_grid1_height12, nullptr},
    {"sv_grid1_width12", Rule::Whole, "#####", &Settings::sv_grid1_width12, nullptr},
};

// The column width keys, made once like the position keys.
const std::array<QString, 7>& colwidth_keys() {
    static const auto keys = [] {
        std::array<QString, 7> k;
        for (int i = 0; i <= 6; ++i) k[std::size_t(i)] = QStringLiteral("sv_colwidth(%1)").arg(i);
        return k;
    }();
    return keys;
}

Integer whole_value(QStringView value) {
    return to_integer(round_even(leading_number(value)));
}

// The keys of the saved positions, top and left, made once: every line of the file is compared with all.
const std::array<std::pair<QString, QString>, saved_forms.size()>& form_keys() {
    static const auto keys = [] {
        std::array<std::pair<QString, QString>, saved_forms.size()> k;
        for (std::size_t i = 0; i < saved_forms.size(); ++i)
            k[i] = {QStringLiteral("tomarina%1_top").arg(saved_forms[i]),
                    QStringLiteral("tomarina%1_left").arg(saved_forms[i])};
        return k;
    }();
    return keys;
}

void read_form_item(Settings& s, QStringView key, QStringView value) {
    const auto& keys = form_keys();
    for (std::size_t i = 0; i < saved_forms.size(); ++i) {
        if (key == keys[i].first) {
            s.form(saved_forms[i]).top = whole_value(value);
            return;
        }
        if (key == keys[i].second) {
            s.form(saved_forms[i]).left = whole_value(value);
            return;
        }
    }
}

void read_control_item(Settings& s, QStringView key, QStringView value, QStringView item) {
    const QStringView last = item.right(1);
    for (const ControlKey& c : control_keys) {
        if (key != QLatin1String(c.key)) continue;
        switch (c.rule) {
        case Rule::Whole:
            s.*c.number = whole_value(value);
            break;
        case Rule::Last:
            s.*c.number = whole_value(last);
            break;
        case Rule::Digit:
            s.*c.text = QString::number(round_even(leading_number(last)));
            break;
        case Rule::Text:
            s.*c.text = value.toString();
            break;
        }
        return;
    }
    for (int k = 0; k <= 6; ++k) {
        if (key == colwidth_keys()[std::size_t(k)]) {
            s.sv_colwidth(k) = whole_value(value);
            return;
        }
    }
}

// A value on its line: a control character in it would end the line or start another.
QString one_line(QStringView value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value)
        if (c.category() != QChar::Other_Control) out += c;
    return out;
}

// The reader drops the control characters that the writer drops, so that one hiding a quote cannot make
// a second save differ from the first. A tab stays: it is a blank before an item, and part of a value
// after its last character.
bool is_dropped_control(QChar c) {
    return c.category() == QChar::Other_Control && c != u'\t';
}

} // namespace

void read_settings(QIODevice& dev, Settings& s) {
    // The [Text1] and [Text2] sections hold the prefecture and airport histories.
    enum Section { None, Form, Control, PrefectureHistory, AirportHistory } section = None;
    int hist_count[2] = {0, 0};
    QByteArray bytes;
    read_up_to(dev, settings_read_limit, bytes);
    if (bytes.size() > settings_read_limit) {
        // A line cut at the limit would be read as a shorter value than it holds.
        bytes.truncate(settings_read_limit);
        const qsizetype end = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        bytes.truncate(end + 1);
    }
    const QString text = decode_cp932_file(bytes);
    auto read_item = [&](QStringView item) {
        try_step("settings item", [&] {
            if (item.startsWith(u'[')) {
                const QStringView name = trimmed_view(item);
                if (name == u"[Form]")
                    section = Form;
                else if (name == u"[Control]")
                    section = Control;
                else if (name == u"[Text1]")
                    section = PrefectureHistory;
                else if (name == u"[Text2]")
                    section = AirportHistory;
                return;
            }
            if (section == Form || section == Control) {
                const qsizetype p = item.indexOf(u'=');
                if (p < 1) return;
                const QStringView key = item.left(p);
                const QStringView value = item.mid(p + 1);
                if (section == Form)
                    read_form_item(s, key, value);
                else
                    read_control_item(s, key, value, item);
            } else if (section == PrefectureHistory || section == AirportHistory) {
                if (item.contains(u'[')) return;
                int& count = hist_count[section == PrefectureHistory ? 0 : 1];
                if (count >= EntryHistory::capacity) return;
                ++count;
                (section == PrefectureHistory ? s.prefecture_history : s.airport_history)(count) =
                    item.toString();
            }
        });
    };
    // CR LF, CR and LF each end a line; a last line without its end counts too. The next CR and LF are
    // found by the library's search, not character by character: a file is read at every start.
    const QStringView all(text);
    qsizetype next_cr = -1, next_lf = -1;
    for (qsizetype start = 0, i = 0; start < all.size(); start = i) {
        if (next_cr < start && next_cr != all.size()) {
            next_cr = all.indexOf(u'\r', start);
            if (next_cr < 0) next_cr = all.size();
        }
        if (next_lf < start && next_lf != all.size()) {
            next_lf = all.indexOf(u'\n', start);
            if (next_lf < 0) next_lf = all.size();
        }
        i = std::min(next_cr, next_lf);
        QStringView line = all.sliced(start, i - start);
        QString cleaned;
        if (std::any_of(line.begin(), line.end(), is_dropped_control)) {
            cleaned.reserve(line.size());
            for (const QChar c : line)
                if (!is_dropped_control(c)) cleaned += c;
            line = cleaned;
        }
        if (i + 1 < all.size() && all[i] == u'\r' && all[i + 1] == u'\n') ++i;
        if (i < all.size()) ++i;
        // Quotes are not doubled in this file. Trailing blanks stay: a value read from the item's last
        // character sees them. A line without quotes is split at its commas in place, each field without
        // the blanks and tabs before it, as the field reader would.
        if (line.contains(u'"')) {
            for (const QString& item : read_fields(line, {.doubled_quotes = false})) read_item(item);
            continue;
        }
        for (qsizetype from = 0;;) {
            qsizetype comma = line.indexOf(u',', from);
            if (comma < 0) comma = line.size();
            while (from < comma && (line[from] == u' ' || line[from] == u'\t')) ++from;
            read_item(line.sliced(from, comma - from));
            if (comma == line.size()) break;
            from = comma + 1;
        }
    }
}

namespace {

// A history entry is written as it is, unless it holds a "[": the reader never gives such an entry back
// and would take it for a section heading, so it goes out empty.
QString history_line(QStringView entry) {
    const QString line = one_line(entry);
    return line.contains(u'[') ? QString() : line;
}

// A whole number through one of the file's pictures, all of '#' with perhaps a last '0': its digits and
// sign, and nothing for 0 unless the picture has a '0'. The same text as format_picture gives, made
// without reading the picture at every save.
QString picture_number(Integer value, const char* picture) {
    return value == 0 && !std::strchr(picture, '0') ? QString() : QString::number(value);
}

} // namespace

bool storable_browser_path(QStringView path) {
    if (path.isEmpty() || one_line(path) != path || storable_in_file(path) != path) return false;
    return !path.contains(u',') && !path.contains(u'"') && trim(path) == path;
}

QByteArray settings_bytes(const Settings& s, bool* ok) {
    QString out;
    out.reserve(2048); // a file of the usual size in one piece
    auto line = [&out](const QString& l) {
        out += l;
        out += u"\r\n";
    };
    // key=value, appended in place: the file is written at every save.
    auto item = [&out](const auto& key, const QString& value) {
        out += key;
        out += u'=';
        out += value;
        out += u"\r\n";
    };
    line(QStringLiteral("[Form]"));
    for (std::size_t i = 0; i < saved_forms.size(); ++i) {
        const FormPosition& p = s.form(saved_forms[i]);
        item(form_keys()[i].first, picture_number(p.top, "###0"));
        item(form_keys()[i].second, picture_number(p.left, "###0"));
    }
    line(QStringLiteral("[Control]"));
    for (const ControlKey& c : control_keys) {
        if (c.number)
            item(QLatin1String(c.key), picture_number(s.*c.number, c.picture));
        else
            item(QLatin1String(c.key), trim(one_line(s.*c.text)));
    }
    for (int k = 0; k <= 6; ++k)
        item(colwidth_keys()[std::size_t(k)], picture_number(s.sv_colwidth(k), "#####"));
    line(QStringLiteral("[Text1]"));
    for (int k = 1; k <= EntryHistory::capacity; ++k) line(history_line(s.prefecture_history(k)));
    line(QStringLiteral("[Text2]"));
    for (int k = 1; k <= EntryHistory::capacity; ++k) line(history_line(s.airport_history(k)));
    auto bytes = encode_cp932_file(out);
    if (ok) *ok = bytes.has_value();
    return bytes ? *bytes : QByteArray();
}

bool write_settings_file(const QString& path, const Settings& s, QString* error) {
    bool ok = false;
    const QByteArray bytes = s.read_error.failed() ? QByteArray() : settings_bytes(s, &ok);
    SaveReport report;
    if (save_read_file(path, s.read_error, bytes, ok, &report)) return true;
    if (error) *error = shared_texts::describe(report);
    return false;
}

void read_settings_file(const QString& path, Settings& s) {
    QFile file;
    if (!open_regular_file(file, path, s.read_error)) return;
    read_settings(file, s);
}

} // namespace tomarina
