#pragma once

#include "app/app_state.h"

#include <QJsonObject>
#include <QStringList>

namespace tomarina {

// Each returns the exit code, or -1 for arguments it does not take.
int tool_build(const QStringList& args);
int tool_dump(const QStringList& args);
int tool_generate(const QStringList& args);
int tool_search(const QStringList& args);
int tool_order_user(const QStringList& args);

// The loaded tables as one JSON object.
QJsonObject dump_tables(const HotelTables& t);

} // namespace tomarina
