#pragma once

#include <QString>
#include <string_view>

// Text as OOXML stores it: UTF-8 with "_xHHHH_" escapes for characters XML cannot carry.
namespace XlsxText {
QString decode(std::string_view utf8);
}
