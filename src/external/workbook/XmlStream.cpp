#include "external/workbook/XmlStream.h"

#include "external/workbook/WorkbookErrors.h"
#include "external/workbook/ZipPackage.h"
#include "platform/AppError.h"

#include <expat.h>
#include <memory>

namespace {

struct Context {
    XML_Parser parser;
    XmlHandler *handler;
    bool entityDeclared = false;
};

void XMLCALL onStart(void *data, const XML_Char *name, const XML_Char **attributes)
{
    auto *c = static_cast<Context *>(data);
    c->handler->startElement(name, attributes);
    if (c->handler->stopped())
        XML_StopParser(c->parser, XML_FALSE);
}

void XMLCALL onEnd(void *data, const XML_Char *name)
{
    auto *c = static_cast<Context *>(data);
    c->handler->endElement(name);
    if (c->handler->stopped())
        XML_StopParser(c->parser, XML_FALSE);
}

void XMLCALL onText(void *data, const XML_Char *text, int length)
{
    static_cast<Context *>(data)->handler->characters(text, length);
}

// Entity expansion is how XML bombs work; no workbook part needs an entity.
void XMLCALL onEntity(void *data, const XML_Char *, int, const XML_Char *, int, const XML_Char *,
                      const XML_Char *, const XML_Char *, const XML_Char *)
{
    auto *c = static_cast<Context *>(data);
    c->entityDeclared = true;
    XML_StopParser(c->parser, XML_FALSE);
}

class Parser {
public:
    Parser(const ZipPackage &package, XmlHandler &handler)
        : m_package(package), m_parser(XML_ParserCreate("UTF-8"), XML_ParserFree)
    {
        if (!m_parser)
            throw WorkbookErrors::tooLarge(package.path());
        m_context.parser = m_parser.get();
        m_context.handler = &handler;
        XML_SetUserData(m_parser.get(), &m_context);
        XML_SetElementHandler(m_parser.get(), onStart, onEnd);
        XML_SetCharacterDataHandler(m_parser.get(), onText);
        XML_SetEntityDeclHandler(m_parser.get(), onEntity);
        XML_SetParamEntityParsing(m_parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    }

    // False once the handler stopped the parse.
    bool feed(const char *data, std::size_t size, bool final)
    {
        if (XML_Parse(m_parser.get(), data, static_cast<int>(size), final) == XML_STATUS_OK)
            return true;
        if (m_context.entityDeclared)
            throw WorkbookErrors::unsafeXml(m_package.path());
        if (m_context.handler->stopped() && XML_GetErrorCode(m_parser.get()) == XML_ERROR_ABORTED)
            return false;
        throw WorkbookErrors::damaged(m_package.path());
    }

private:
    const ZipPackage &m_package;
    std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> m_parser;
    Context m_context;
};

} // namespace

void XmlStream::parse(const ZipPackage &package, long long index, unsigned long long maxBytes,
                      XmlHandler &handler)
{
    Parser parser(package, handler);
    bool more = true;
    package.stream(index, maxBytes, [&](const char *data, std::size_t size) {
        more = parser.feed(data, size, false);
        return more;
    });
    if (more)
        parser.feed(nullptr, 0, true);
}

void XmlStream::parse(const ZipPackage &package, const char *data, std::size_t size, XmlHandler &handler)
{
    Parser parser(package, handler);
    if (parser.feed(data, size, false))
        parser.feed(nullptr, 0, true);
}
