#include "workbook/XmlStream.h"

#include "core/AppError.h"
#include "workbook/WorkbookErrors.h"
#include "workbook/ZipPackage.h"

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
void XMLCALL onEntity(void *data, const XML_Char *, int, const XML_Char *, int, const XML_Char *, const XML_Char *,
                      const XML_Char *, const XML_Char *)
{
    auto *c = static_cast<Context *>(data);
    c->entityDeclared = true;
    XML_StopParser(c->parser, XML_FALSE);
}

} // namespace

XmlFeed::XmlFeed(const ZipPackage &package, XmlHandler &handler)
    : m_package(package), m_parser(XML_ParserCreate("UTF-8"))
{
    if (!m_parser)
        throw WorkbookErrors::tooLarge(package.path());
    auto *context = new Context{m_parser, &handler};
    XML_SetUserData(m_parser, context);
    m_context = context;
    XML_SetElementHandler(m_parser, onStart, onEnd);
    XML_SetCharacterDataHandler(m_parser, onText);
    XML_SetEntityDeclHandler(m_parser, onEntity);
    XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

XmlFeed::~XmlFeed()
{
    delete static_cast<Context *>(m_context);
    XML_ParserFree(m_parser);
}

bool XmlFeed::feed(const char *data, std::size_t size, bool final)
{
    if (XML_Parse(m_parser, data, static_cast<int>(size), final) == XML_STATUS_OK)
        return true;
    const auto *context = static_cast<const Context *>(m_context);
    if (context->entityDeclared)
        throw WorkbookErrors::unsafeXml(m_package.path());
    if (context->handler->stopped() && XML_GetErrorCode(m_parser) == XML_ERROR_ABORTED)
        return false;
    throw WorkbookErrors::damaged(m_package.path());
}

long long XmlFeed::currentByte() const
{
    return XML_GetCurrentByteIndex(m_parser);
}

void XmlStream::parse(const ZipPackage &package, long long index, unsigned long long maxBytes, XmlHandler &handler)
{
    XmlFeed parser(package, handler);
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
    XmlFeed parser(package, handler);
    if (parser.feed(data, size, false))
        parser.feed(nullptr, 0, true);
}
