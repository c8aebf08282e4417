#pragma once

#include <stdexcept>

// Raised inside the .xls reader when the file cannot be read; XlsReader turns it into
// the AppError the operator sees, with the file name in the description.
class XlsFileError : public std::runtime_error {
public:
    enum class Kind { Damaged, NotAWorkbook, Encrypted };

    explicit XlsFileError(Kind kind, const char *detail = "damaged") : std::runtime_error(detail), m_kind(kind) {}

    Kind kind() const { return m_kind; }

    static XlsFileError damaged(const char *detail) { return XlsFileError(Kind::Damaged, detail); }
    static XlsFileError notAWorkbook(const char *detail) { return XlsFileError(Kind::NotAWorkbook, detail); }

private:
    Kind m_kind;
};
