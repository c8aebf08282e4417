#pragma once

#include <QString>
#include <map>
#include <string>

class ZipPackage;

// Finds the parts of an OOXML workbook through its relationships (falling back on the
// content types and on the usual paths), so packages with unusual part names, Strict
// namespaces or parts at the zip root read like any other.
class XlsxParts {
public:
    explicit XlsxParts(const ZipPackage &package);

    // Zip indexes, -1 when the part is absent.
    qint64 sheet() const { return m_sheet; }
    qint64 sharedStrings() const { return m_sharedStrings; }
    qint64 styles() const { return m_styles; }
    bool date1904() const { return m_date1904; }

    // "xl/worksheets/../x.xml" against base "xl/": "x.xml" ("/" starts from the root).
    static std::string resolve(const std::string &sourcePart, const std::string &target);

private:
    struct Relationship {
        std::string type;
        std::string target;
    };
    using Relationships = std::map<std::string, Relationship>;

    Relationships relationshipsOf(const std::string &part) const;
    std::string workbookPart() const;
    std::string overrideOfType(const char *contentTypeFragment) const;
    qint64 findByType(const Relationships &rels, const std::string &source, const char *typeSuffix) const;

    const ZipPackage &m_package;
    qint64 m_sheet = -1;
    qint64 m_sharedStrings = -1;
    qint64 m_styles = -1;
    bool m_date1904 = false;
};
