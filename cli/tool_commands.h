#pragma once

#include "shared/app_state.h"

#include <QJsonObject>
#include <QStringList>
#include <cstdint>

namespace tomarina {

struct GenerateArgs {
    QString base;
    QString out_dir;
    int hotels = 0;
    std::uint32_t seed = 1;
};

struct SearchArgs {
    QString dir;
    int type = 1;
    QString key;
    Integer limit = 1000;
    QStringList narrow;
    QString order;
    bool names = false; // add the hits' names
};

// The commands on checked arguments. Each returns the exit code: 0, 1 when a file cannot be read or
// written, 2 for a search key the search window refuses.
int tool_build(const QString& source_dir, const QString& out_file);
int tool_dump(const QString& file_name);
int tool_generate(const GenerateArgs& g);
int tool_search(const SearchArgs& a);
int tool_order_user(const QString& dir, const QString& order);

// The loaded tables as one JSON object.
QJsonObject dump_tables(const HotelTables& t);

} // namespace tomarina
