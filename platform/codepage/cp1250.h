#pragma once

#include <QString>
#include <string>

// Texts of the system are Windows-1250 bytes (one byte, one column). These convert at the edges.
namespace codepage {

QString fromcp1250(const std::string &bytes);
// Characters without a Windows-1250 byte become '?'.
std::string tocp1250(const QString &text);
std::string utf8tocp1250(const char *utf8);
std::string cp1250toutf8(const std::string &bytes);

} // namespace codepage
