#include "browser/browser_lookup.h"

#include "data/text_rules.h"
#include "shared/desktop_opener.h"

namespace tomarina {

namespace {
constexpr qsizetype value_buffer = 1024;
constexpr qsizetype program_name_length = 12;
} // namespace

bool browser_set(const Settings& s) {
    return s.inet_data1 == browser_kind::explorer || s.inet_data1 == browser_kind::netscape;
}

bool browser_undetermined(const Settings& s) {
    return s.inet_data1.isEmpty() || s.inet_data1 == u"0";
}

bool read_key_value(Platform& pf, std::uint32_t root, const QString& key, const QString& value_name,
                    QString& value) {
    std::optional<RegistryValue> stored;
    if (root == HKEY_CLASSES_ROOT) stored = pf.registry_value(key, value_name);
    if (!stored || stored->data.size() > value_buffer) {
        value.clear();
        return false;
    }
    const QByteArray& data = stored->data;
    if (stored->type == 1) {
        const qsizetype nul = data.indexOf('\0');
        value = decode_cp932(nul < 0 ? data : data.left(nul));
    } else if (stored->type == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | (i < data.size() ? std::uint8_t(data[i]) : 0u);
        value = QString::number(n);
    }
    return true;
}

void recognise_browser(Settings& s, QString& command, QString& error) {
    error.clear();
    QString kind = browser_kind::explorer;
    qsizetype p = command.indexOf(QLatin1String("iexplore.exe"));
    if (p < 0) p = command.indexOf(QLatin1String("IEXPLORE.EXE"));
    if (p < 0) {
        kind = browser_kind::netscape;
        p = command.indexOf(QLatin1String("netscape.exe"));
        if (p < 0) p = command.indexOf(QLatin1String("NETSCAPE.EXE"));
    }
    if (p < 0) {
        error = QStringLiteral("err");
        return;
    }
    command = command.left(p + program_name_length);
    command.remove(u'"');
    // A path the settings file would not give back as it is could name another program at the next start.
    if (!storable_browser_path(command)) {
        error = QStringLiteral("err");
        return;
    }
    s.inet_data1 = kind;
    s.inet_data2 = command;
}

void look_up_browser(Settings& s, Platform& pf) {
    QString command;
    if (!read_key_value(pf, HKEY_CLASSES_ROOT, QStringLiteral("http\\shell\\open\\command"), QString(),
                        command))
        return;
    QString error;
    recognise_browser(s, command, error);
    // No Linux desktop's browser bears either name, so the windows could never switch the links on: the
    // desktop's opener hands the address to the handler found. Without a handler nothing would open the
    // pages, so nothing is registered then.
    if (!error.isEmpty()) register_desktop_opener(s, desktop_opener_path());
}

} // namespace tomarina
