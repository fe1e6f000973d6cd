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

bool GetKeyValue(Platform& pf, std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal) {
    std::optional<RegistryValue> value;
    if (KeyRoot == HKEY_CLASSES_ROOT) value = pf.registry_value(KeyName, SubKeyRef);
    if (!value || value->data.size() > value_buffer) {
        KeyVal.clear();
        return false;
    }
    const QByteArray& data = value->data;
    if (value->type == 1) {
        const qsizetype nul = data.indexOf('\0');
        KeyVal = decode_cp932(nul < 0 ? data : data.left(nul));
    } else if (value->type == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | (i < data.size() ? std::uint8_t(data[i]) : 0u);
        KeyVal = QString::number(n);
    }
    return true;
}

void chk_chr(Settings& s, QString& wk_text, QString& err_flg) {
    err_flg.clear();
    QString kind = browser_kind::explorer;
    qsizetype p = wk_text.indexOf(QLatin1String("iexplore.exe"));
    if (p < 0) p = wk_text.indexOf(QLatin1String("IEXPLORE.EXE"));
    if (p < 0) {
        kind = browser_kind::netscape;
        p = wk_text.indexOf(QLatin1String("netscape.exe"));
        if (p < 0) p = wk_text.indexOf(QLatin1String("NETSCAPE.EXE"));
    }
    if (p < 0) {
        err_flg = QStringLiteral("err");
        return;
    }
    wk_text = wk_text.left(p + program_name_length);
    wk_text.remove(u'"');
    // A path the settings file would not give back as it is could name another program at the next start.
    if (!storable_browser_path(wk_text)) {
        err_flg = QStringLiteral("err");
        return;
    }
    s.inet_data1 = kind;
    s.inet_data2 = wk_text;
}

void StartSysInfo(Settings& s, Platform& pf) {
    QString KeyVal;
    if (!GetKeyValue(pf, HKEY_CLASSES_ROOT, QStringLiteral("http\\shell\\open\\command"), QString(), KeyVal))
        return;
    QString err_flg;
    chk_chr(s, KeyVal, err_flg);
    // No Linux desktop's browser bears either name, so the windows could never switch the links on: the
    // desktop's opener hands the address to the handler found. Without a handler nothing would open the
    // pages, so nothing is registered then.
    if (!err_flg.isEmpty()) register_desktop_opener(s, desktop_opener_path());
}

} // namespace tomarina
