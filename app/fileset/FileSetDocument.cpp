#include "FileSetDocument.h"

#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMText.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLResourceIdentifier.hpp>

namespace quillory {

using namespace xercesc;

const char kInvalidFileSetDefinition[] = "Selected file set definition file is invalid!";

XmlPlatformScope::XmlPlatformScope() {
    try {
        XMLPlatformUtils::Initialize();
        ready_ = true;
    } catch (const XMLException&) {
        ready_ = false;
    }
}

XmlPlatformScope::~XmlPlatformScope() {
    if (ready_) XMLPlatformUtils::Terminate();
}

std::u16string ToXml(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

QString FromXml(const XMLCh* text) {
    return text ? QString::fromUtf16(text) : QString();
}

InputSource* OwnSchemaOnly::resolveEntity(XMLResourceIdentifier* resource) {
    const XMLCh* location = resource->getSchemaLocation();
    if (resource->getResourceIdentifierType() == XMLResourceIdentifier::SchemaGrammar && location &&
        std::u16string_view(location) == ToXml(QLatin1String(kFileSetSchemaName))) {
        return new MemBufInputSource(reinterpret_cast<const XMLByte*>(schema_.constData()),
                                     static_cast<XMLSize_t>(schema_.size()), location);
    }
    refused_ = true;
    // Something to read in place of what was asked for: nothing at all.
    static const XMLByte kNothing[] = {0};
    return new MemBufInputSource(kNothing, 0, u"refused");
}

namespace {

DOMElement* AppendElement(DOMDocument& document, DOMElement& parent, const char16_t* name, const QString& text) {
    DOMElement* element = document.createElement(name);
    parent.appendChild(element);
    if (!text.isNull()) element->appendChild(document.createTextNode(ToXml(text).c_str()));
    return element;
}

}  // namespace

void AddFileElement(DOMDocument& document, const QString& kindText, const QString& path, uint8_t slot) {
    DOMElement* file = AppendElement(document, *document.getDocumentElement(), u"file", QString());
    AppendElement(document, *file, u"type", kindText);
    AppendElement(document, *file, u"path", path);
    AppendElement(document, *file, u"slot", QString::number(slot));
}

}  // namespace quillory
