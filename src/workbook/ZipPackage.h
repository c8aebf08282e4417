#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <string>

typedef struct zip zip_t;
typedef struct zip_stat zip_stat_t;

// A zip file opened read-only, whose parts are read in chunks with a cap on their
// uncompressed size, so a zip bomb costs at most that cap.
class ZipPackage {
public:
    // Raises the workbook errors: missing, damaged, not a zip.
    explicit ZipPackage(const QString &path);
    // A package already in memory (kept, shared, while the package lives); `name` stands for
    // the file in error messages.
    ZipPackage(const QByteArray &bytes, const QString &name);
    ~ZipPackage();
    ZipPackage(const ZipPackage &) = delete;
    ZipPackage &operator=(const ZipPackage &) = delete;

    // Index of a part by name (a leading "/" ignored, letter case ignored as a fallback), or -1.
    qint64 find(const std::string &name) const;
    std::string nameAt(qint64 index) const;
    qint64 count() const;

    // Hands the part to sink in chunks until it ends or sink returns false. A part larger
    // than maxBytes, encrypted or damaged raises the workbook error.
    void stream(qint64 index, quint64 maxBytes,
                const std::function<bool(const char *data, std::size_t size)> &sink) const;
    std::string read(qint64 index, quint64 maxBytes) const;
    // The uncompressed size the zip directory gives, 0 when unknown or more than the compressed
    // bytes can give (it may still lie below that).
    quint64 declaredSize(qint64 index) const;

    const QString &path() const { return m_path; }

private:
    bool stat(qint64 index, zip_stat_t &st) const;
    [[noreturn]] void refuse(int error) const;

    zip_t *m_zip = nullptr;
    QString m_path;
    QByteArray m_bytes;
};
