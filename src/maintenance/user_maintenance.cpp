#include "maintenance/user_maintenance.h"

#include "data/text_rules.h"
#include "data/user_file.h"
#include "maintenance/maintenance_texts.h"
#include "shared/ordering.h"

#include <QFile>
#include <cmath>

namespace tomarina {

namespace texts = maintenance_texts;

namespace {

QString unstorable_message(int field) {
    return texts::unstorable_characters.arg(texts::field_names[std::size_t(field)]);
}

// The messages of the prefecture and airport checks: empty, then not a known name.
struct NameMessages {
    QString empty, unknown;
};

NameMessages airport_messages(std::optional<StoreButton> button) {
    if (button == StoreButton::AddUpdate) return {texts::hotel_airport_missing, texts::hotel_airport_unknown};
    if (button == StoreButton::Update) return {texts::airport_missing, texts::airport_unknown_on_update};
    return {texts::airport_missing, texts::airport_unknown};
}

// The check of one field, shared by Enter and the store buttons; `button` is empty for Enter.
QString field_check(int field, EditFields& f, const HotelTables& t, std::optional<StoreButton> button,
                    const EditFields* given) {
    QString& text = f[std::size_t(field)];
    // A text the window was given (bytes of the file that are no character) goes back as it came.
    const auto unchanged = [&f, given](int k) {
        return given && f[std::size_t(k)] == (*given)[std::size_t(k)];
    };
    bool kept = unchanged(field);
    switch (field) {
    case 1:
        if (text.isEmpty()) return texts::prefecture_missing;
        if (check_prefecture_name(t, text) == u"err") return texts::prefecture_unknown;
        break;
    case 2: {
        const NameMessages m = airport_messages(button);
        if (text.isEmpty()) return m.empty;
        if (check_airport_name(t, text) == u"err") return m.unknown;
        break;
    }
    case 3:
        if (text.isEmpty()) {
            text = f[2];
            kept = unchanged(2);
        }
        break;
    case 4:
        if (text.isEmpty()) return texts::hotel_name_missing;
        break;
    case 5:
        if (text.isEmpty()) return texts::phone_missing;
        break;
    case 6:
        if (!rooms_text_ok(text)) return texts::rooms_not_digits;
        break;
    case 8: {
        const QString typed = input_form(text);
        if (!typed.contains(u'\\')) text = rate_shown(typed);
        if (rate_value(typed) == 0) return texts::rate_missing;
        break;
    }
    default:
        break;
    }
    // Text the file cannot hold would come back as other characters.
    if (!kept && !storable_text(input_form(text))) return unstorable_message(field);
    return {};
}

} // namespace

QString check_prefecture_name(const HotelTables& t, QStringView text) {
    return find_name(t.ken_name, t.ken_count, trim(text)) ? QString() : QStringLiteral("err");
}

QString check_airport_name(const HotelTables& t, QStringView text) {
    return find_name(t.airport_name, t.airport_count, trim(text)) ? QString() : QStringLiteral("err");
}

bool rooms_text_ok(QStringView text) {
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

QString rate_shown(QStringView text) {
    if (text.contains(u'\\')) return text.toString();
    return format_text_picture(text, yen_picture);
}

Long rate_value(QStringView text) {
    if (trim(text).size() <= 1) return 0;
    const auto amount = read_currency(text);
    if (!amount) return 0;
    const double r = std::round(*amount);
    if (r > INT32_MAX || r < INT32_MIN) return 0;
    return Long(r);
}

bool storable_text(QStringView text) {
    if (text.contains(u'\r') || text.contains(u'\n')) return false;
    return cp932_encodable(text);
}

QString field_name(int field) {
    return field >= 1 && field <= 9 ? texts::field_names[std::size_t(field)] : QString();
}

QString field_prompt(int field) {
    if (field < 1 || field > 9) return {};
    return texts::field_requests[std::size_t(field)] + QStringLiteral("\r\n") +
           texts::field_examples[std::size_t(field)];
}

QString enter_check(int field, EditFields& f, const HotelTables& t, const EditFields* given) {
    if (field < 1 || field > 9) return {};
    return field_check(field, f, t, std::nullopt, given);
}

std::optional<Refusal> store_check(StoreButton button, EditFields& f, const HotelTables& t,
                                   const EditFields* given) {
    for (int field = 1; field <= 9; ++field) {
        QString message = field_check(field, f, t, button, given);
        if (!message.isEmpty()) return Refusal{field, std::move(message)};
    }
    return std::nullopt;
}

EditFields user_fields(const UserTables& u, int k) {
    const QStringList r = user_record(u, k);
    EditFields f;
    for (int i = 0; i < 9 && i < r.size(); ++i) f[std::size_t(i + 1)] = r[i];
    return f;
}

bool user_tables_full(const UserTables& u) {
    return u.user_count >= UserTables::user_capacity;
}

QString user_tables_full_message() {
    return texts::tables_full.arg(UserTables::user_capacity);
}

std::array<QString, user_list_columns> user_list_headings(const QString& key) {
    std::array<QString, user_list_columns> h = texts::list_headings;
    const int marked = list_marked_column(key);
    if (marked >= 0) h[std::size_t(marked)] = texts::heading_mark + h[std::size_t(marked)];
    return h;
}

QString user_list_cell(const UserTables& u, int k, int column) {
    switch (column) {
    case 0:
        return u.user_ken_name(k);
    case 1:
        return u.user_airport_name(k);
    case 2:
        return u.user_syousai_name(k);
    case 3:
        return u.user_name(k);
    case 4:
        return u.user_tel(k);
    case 5:
        return format_text_picture(u.user_rooms(k), u"#####");
    case 6:
        return u.user_access(k);
    case 7:
        return u.user_price(k);
    case 8:
        return u.user_note(k);
    }
    return {};
}

} // namespace tomarina
