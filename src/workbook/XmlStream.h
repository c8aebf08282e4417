#pragma once

#include <cstddef>
#include <cstring>

class ZipPackage;
typedef struct XML_ParserStruct *XML_Parser;

// Receives the events of an XML part. Names keep their prefix ("x:c"); readers compare
// local names, so transitional, Strict and prefixed documents read alike.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void startElement(const char *name, const char **attributes) = 0;
    virtual void endElement(const char *name) = 0;
    virtual void characters(const char *data, int length)
    {
        (void)data;
        (void)length;
    }

    // The handler has all it wants; the rest of the part is not read.
    void stop() { m_stopped = true; }
    bool stopped() const { return m_stopped; }

    static const char *localName(const char *name)
    {
        const char *colon = std::strrchr(name, ':');
        return colon ? colon + 1 : name;
    }
    static bool is(const char *name, const char *local) { return std::strcmp(localName(name), local) == 0; }
    // The value of an attribute by its local name, or nullptr.
    static const char *attribute(const char **attributes, const char *local)
    {
        for (int i = 0; attributes[i]; i += 2)
            if (is(attributes[i], local))
                return attributes[i + 1];
        return nullptr;
    }

private:
    bool m_stopped = false;
};

// Streams one part of a zip package through expat into a handler. Entity declarations
// are refused; malformed XML raises the damaged-file error.
class XmlStream {
public:
    static void parse(const ZipPackage &package, long long index, unsigned long long maxBytes, XmlHandler &handler);
    // For parts already in memory (small ones: relationships, content types).
    static void parse(const ZipPackage &package, const char *data, std::size_t size, XmlHandler &handler);
};

// One expat parse fed piece by piece, for parts already in memory; the same rules as
// XmlStream.
class XmlFeed {
public:
    XmlFeed(const ZipPackage &package, XmlHandler &handler);
    ~XmlFeed();
    XmlFeed(const XmlFeed &) = delete;
    XmlFeed &operator=(const XmlFeed &) = delete;

    // False once the handler stopped the parse.
    bool feed(const char *data, std::size_t size, bool final);
    // During a handler call: where in all that was fed the current event starts.
    long long currentByte() const;

private:
    const ZipPackage &m_package;
    XML_Parser m_parser;
    void *m_context = nullptr;
};
