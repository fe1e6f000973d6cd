#include "shared/settings.h"

#include "data/regular_file.h"
#include "data/save_file.h"
#include "data/steps.h"
#include "data/text_rules.h"
#include "shared/results_design.h"

#include <QFile>
#include <algorithm>
#include <stdexcept>

namespace tomarina {

FormPosition& Settings::form(int number) {
    switch (number) {
    case 1:
        return tomarina1;
    case 11:
        return tomarina11;
    case 12:
        return tomarina12;
    case 13:
        return tomarina13;
    case 14:
        return tomarina14;
    case 15:
        return tomarina15;
    case 21:
        return tomarina21;
    case 31:
        return tomarina31;
    case 32:
        return tomarina32;
    case 34:
        return tomarina34;
    case 41:
        return tomarina41;
    case 42:
        return tomarina42;
    case 91:
        return tomarina91;
    case 92:
        return tomarina92;
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
    fill(tomarina15.top, 5200);
    fill(tomarina15.left, 3800);
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

QString colwidth_key(int k) {
    return QStringLiteral("sv_colwidth(%1)").arg(k);
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

void read_form_item(Settings& s, const QString& key, QStringView value) {
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

void read_control_item(Settings& s, const QString& key, QStringView value, QStringView item) {
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
    static const auto colwidth_keys = [] {
        std::array<QString, 7> k;
        for (int i = 0; i <= 6; ++i) k[std::size_t(i)] = colwidth_key(i);
        return k;
    }();
    for (int k = 0; k <= 6; ++k) {
        if (key == colwidth_keys[std::size_t(k)]) {
            s.sv_colwidth(k) = whole_value(value);
            return;
        }
    }
}

} // namespace

void read_settings(QIODevice& dev, Settings& s) {
    enum Section { None, Form, Control, Text1, Text2 } section = None;
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
    // CR LF, CR and LF each end a line; a last line without its end counts too.
    for (qsizetype start = 0, i = 0; start < text.size(); start = i) {
        while (i < text.size() && text[i] != u'\r' && text[i] != u'\n') ++i;
        const QStringView line = QStringView(text).sliced(start, i - start);
        if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n') ++i;
        if (i < text.size()) ++i;
        // Quotes are not doubled in this file. Trailing blanks stay: a value read from the item's last
        // character sees them.
        for (const QString& item : read_fields(line, {.doubled_quotes = false})) {
            try_step("settings item", [&] {
                if (item.startsWith(u'[')) {
                    const QString name = trim(item);
                    if (name == u"[Form]")
                        section = Form;
                    else if (name == u"[Control]")
                        section = Control;
                    else if (name == u"[Text1]")
                        section = Text1;
                    else if (name == u"[Text2]")
                        section = Text2;
                    return;
                }
                if (section == Form || section == Control) {
                    const qsizetype p = item.indexOf(u'=');
                    if (p < 1) return;
                    const QString key = item.left(p);
                    const QStringView value = QStringView(item).mid(p + 1);
                    if (section == Form)
                        read_form_item(s, key, value);
                    else
                        read_control_item(s, key, value, item);
                } else if (section == Text1 || section == Text2) {
                    if (item.contains(u'[')) return;
                    int& count = hist_count[section == Text1 ? 0 : 1];
                    if (count >= EntryHistory::capacity) return;
                    ++count;
                    (section == Text1 ? s.text1_hist : s.text2_hist)(count) = item;
                }
            });
        }
    }
}

namespace {

// A value on its line: a control character in it would end the line or start another.
QString one_line(QStringView value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value)
        if (c.category() != QChar::Other_Control) out += c;
    return out;
}

// A history entry is written as it is, unless it holds a "[": the reader never gives such an entry back
// and would take it for a section heading, so it goes out empty.
QString history_line(QStringView entry) {
    const QString line = one_line(entry);
    return line.contains(u'[') ? QString() : line;
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
        item(form_keys()[i].first, trim(format_picture(p.top, u"###0")));
        item(form_keys()[i].second, trim(format_picture(p.left, u"###0")));
    }
    line(QStringLiteral("[Control]"));
    for (const ControlKey& c : control_keys) {
        if (c.number)
            item(QLatin1String(c.key), trim(format_picture(s.*c.number, QString::fromLatin1(c.picture))));
        else
            item(QLatin1String(c.key), trim(one_line(s.*c.text)));
    }
    for (int k = 0; k <= 6; ++k) item(colwidth_key(k), trim(format_picture(s.sv_colwidth(k), u"#####")));
    line(QStringLiteral("[Text1]"));
    for (int k = 1; k <= EntryHistory::capacity; ++k) line(history_line(s.text1_hist(k)));
    line(QStringLiteral("[Text2]"));
    for (int k = 1; k <= EntryHistory::capacity; ++k) line(history_line(s.text2_hist(k)));
    auto bytes = encode_cp932_file(out);
    if (ok) *ok = bytes.has_value();
    return bytes ? *bytes : QByteArray();
}

bool write_settings_file(const QString& path, const Settings& s, QString* error) {
    bool ok = false;
    const QByteArray bytes = s.read_error.isEmpty() ? settings_bytes(s, &ok) : QByteArray();
    const QString read_error =
        s.read_error.isEmpty() ? QString() : QStringLiteral("ファイルを読み込めませんでした（%1）。").arg(s.read_error);
    return save_read_file(path, read_error, bytes, ok, error);
}

void read_settings_file(const QString& path, Settings& s) {
    QFile file;
    if (!open_regular_file(file, path, s.read_error)) return;
    read_settings(file, s);
}

} // namespace tomarina
