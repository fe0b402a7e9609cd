// The file set definition (.fsd): an XML document in the maker's namespace
// listing printer files on the PC, each with its kind and printer slot.
//   <quilloryFileSet xmlns="urn:orvale:quillory:fileset:1" ...>
//     <file><type>data</type><path>/home/ann/PRICES.dat</path><slot>2</slot></file>
//   </quilloryFileSet>
// The root is in the namespace; file, type, path and slot are in none.
#ifndef QUILLORY_FILE_SET_DOCUMENT_H
#define QUILLORY_FILE_SET_DOCUMENT_H

#include <QByteArray>
#include <QString>

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/sax/ErrorHandler.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLEntityResolver.hpp>

#include <cstdint>
#include <string>
#include <utility>

namespace quillory {

// The maker's namespace; never changes, so definitions written once stay readable.
inline constexpr char16_t kFileSetNamespace[] = u"urn:orvale:quillory:fileset:1";
inline constexpr char kFileSetSchemaName[] = "quilloryFileSet.xsd";
inline constexpr char kAllFilesDefinitionName[] = "allFiles.fsd";
inline constexpr char kDataKindText[] = "data";
inline constexpr char kLabelKindText[] = "label";

// Shown when a definition does not parse or does not validate.
extern const char kInvalidFileSetDefinition[];

// Keeps the XML library started while it lives; the library counts nested
// starts. The program starts it only for file set work, not at start-up:
// starting it costs a noticeable part of the program's own start, and most
// runs never read or write a file set.
class XmlPlatformScope {
public:
    XmlPlatformScope();
    ~XmlPlatformScope();
    XmlPlatformScope(const XmlPlatformScope&) = delete;
    XmlPlatformScope& operator=(const XmlPlatformScope&) = delete;
    // False when the library could not start; nothing of it may be used then.
    bool ready() const { return ready_; }

private:
    bool ready_ = false;
};

// Texts cross into and out of the XML library as UTF-16, the library's own
// characters, so no character of a path is lost on the way.
std::u16string ToXml(const QString& text);
QString FromXml(const XMLCh* text);

// Remembers whether the parser reported an error; warnings do not count.
class FileSetErrorHandler : public xercesc::ErrorHandler {
public:
    void warning(const xercesc::SAXParseException&) override {}
    void error(const xercesc::SAXParseException&) override { errorsSeen_ = true; }
    void fatalError(const xercesc::SAXParseException&) override { errorsSeen_ = true; }
    void resetErrors() override { errorsSeen_ = false; }
    bool ErrorsSeen() const { return errorsSeen_; }

private:
    bool errorsSeen_ = false;
};

// A definition is read from its own bytes and the installed schema, nothing
// else: an entity, DTD or schema it points at elsewhere (a file, a pipe that
// never ends, a web address) is not fetched, and the document counts as
// invalid. Entity expansion is bounded, so a few lines cannot grow into
// gigabytes. The schema, too, comes from memory: the library opens a file
// through a URI it decodes byte by byte, which no folder name with a letter
// beyond ASCII survives, while Qt reads any path.
class OwnSchemaOnly : public xercesc::XMLEntityResolver {
public:
    // schema: the installed schema's bytes, handed to the parser wherever it
    // asks for kFileSetSchemaName.
    explicit OwnSchemaOnly(QByteArray schema) : schema_(std::move(schema)) {
        limits_.setEntityExpansionLimit(1000);
    }
    xercesc::InputSource* resolveEntity(xercesc::XMLResourceIdentifier* resource) override;
    bool RefusedSomething() const { return refused_; }
    xercesc::SecurityManager* limits() { return &limits_; }

private:
    QByteArray schema_;
    bool refused_ = false;
    xercesc::SecurityManager limits_;
};

// Appends <file><type/><path/><slot/></file> to the root.
void AddFileElement(xercesc::DOMDocument& document, const QString& kindText, const QString& path, uint8_t slot);

}  // namespace quillory

#endif
