#include "FileSetOperations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufFormatTarget.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <memory>
#include <optional>

#include "CPrinterService.h"
#include "FileSetDocument.h"
#include "FileSetForms.h"
#include "FileSetLimits.h"
#include "PlatformPaths.h"
#include "PromptPort.h"
#include "ReplacingWrite.h"
#include "SettingsStore.h"
#include "SlotFilePath.h"
#include "StringTable.h"

namespace quillory {

using namespace xercesc;

namespace {

const char16_t kRootName[] = u"quilloryFileSet";
const char16_t kSchemaInstanceNamespace[] = u"http://www.w3.org/2001/XMLSchema-instance";

// Lines that say, after get-all's summary, what fell short and why.
const char kNotReceived[] = "%1: %2";
const char kNoReason[] = "not received";
const char kLabelsNotFetched[] = "The label files were not fetched, as a data file could not be.";
const char kDefinitionNotMade[] = "the list of files could not be put into XML";
const char kDefinitionLeftAsItWas[] =
    "%1 was not replaced, as not all files arrived; the files that did are listed in %2.";

struct DocumentRelease {
    void operator()(DOMDocument* document) const { document->release(); }
};
struct SerializerRelease {
    void operator()(DOMLSSerializer* serializer) const { serializer->release(); }
};
struct OutputRelease {
    void operator()(DOMLSOutput* output) const { output->release(); }
};

// The text of the first element of that name below the file element; a null
// text when there is none (the schema does not let that happen).
QString ChildText(const DOMElement& file, const char16_t* name) {
    DOMNodeList* found = file.getElementsByTagName(name);
    DOMNode* element = found ? found->item(0) : nullptr;
    DOMNode* text = element ? element->getFirstChild() : nullptr;
    return text ? FromXml(text->getNodeValue()) : QString();
}

// The slot as the schema admits it: decimal, blanks around it. Anything else
// is 0, which no job accepts.
uint8_t SlotFromText(const QString& text) {
    bool ok = false;
    const uint number = text.trimmed().toUInt(&ok, 10);
    return ok && number >= 1 && number <= 255 ? static_cast<uint8_t>(number) : 0;
}

// The whole of a regular file, read by Qt so that any path opens; nothing
// for anything else (missing, a folder, a pipe that would never end).
std::optional<QByteArray> ReadRegularFile(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

// The schema the installation in that folder brings; nothing without a folder.
std::optional<QByteArray> ReadInstalledSchema(const QString& installDirectory) {
    if (installDirectory.isEmpty()) return std::nullopt;
    return ReadRegularFile(
        PlatformPaths::Join(PlatformPaths::SharedDataFolderOf(installDirectory), QLatin1String(kFileSetSchemaName)));
}

}  // namespace

FileSetOperations::FileSetOperations(CPrinterService& service, InstallFolderLookup::DriveList drives)
    : service_(service), lookup_(service.prompt(), std::move(drives)) {}

bool FileSetOperations::SendFileSetDefinition(QString path, QWidget* parent) {
    // First in, last out: everything of the library below goes before it stops.
    const XmlPlatformScope xml;
    if (!xml.ready()) return false;
    BoundedDefinitionParser parser;
    FileSetErrorHandler errors;
    parser.setDoNamespaces(true);
    parser.setDoSchema(true);
    parser.setValidationSchemaFullChecking(true);
    parser.setValidationScheme(XercesDOMParser::Val_Always);

    lookup_.FindInstallDirectory();
    const std::optional<QByteArray> schema = ReadInstalledSchema(lookup_.installDirectory());
    const QString schemaLocation =
        QString::fromUtf16(kFileSetNamespace) + QLatin1Char(' ') + QLatin1String(kFileSetSchemaName);
    parser.setExternalSchemaLocation(ToXml(schemaLocation).c_str());
    parser.setErrorHandler(&errors);
    OwnSchemaOnly resolver(schema.value_or(QByteArray()));
    parser.setXMLEntityResolver(&resolver);
    parser.setSecurityManager(resolver.limits());

    // Read by Qt rather than the library, so a path with any character opens.
    QByteArray bytes;
    const DefinitionRead read = ReadDefinitionBytes(path, &bytes);
    if (read == DefinitionRead::TooLarge) {
        service_.prompt().ShowMessage(QLatin1String(kDefinitionTooLarge), MessageIcon::None, MessageButtons::Ok);
        return false;
    }
    bool readable = schema && read == DefinitionRead::Read;
    if (readable) {
        const std::u16string systemId = ToXml(path);
        MemBufInputSource source(reinterpret_cast<const XMLByte*>(bytes.constData()),
                                 static_cast<XMLSize_t>(bytes.size()), systemId.c_str());
        // The parser throws for some documents it cannot build (an XML
        // version it does not know); they are as invalid as any other.
        try {
            readable = parser.ParseWithinBounds(source);
        } catch (...) {
            readable = false;
        }
    }
    if (parser.bound() == BoundedDefinitionParser::Bound::TooManyEntries) {
        service_.prompt().ShowMessage(QLatin1String(kDefinitionTooManyEntries), MessageIcon::None,
                                      MessageButtons::Ok);
        return false;
    }
    if (!readable || errors.ErrorsSeen() || resolver.RefusedSomething() || !parser.getDocument() ||
        !parser.getDocument()->getDocumentElement()) {
        service_.prompt().ShowMessage(QLatin1String(kInvalidFileSetDefinition), MessageIcon::None,
                                      MessageButtons::Ok);
        return false;
    }

    TransferBusyGuard busy(service_);
    if (!busy.acquired()) return false;

    DOMDocument* document = parser.getDocument();
    DOMTreeWalker* walker =
        document->createTreeWalker(document->getDocumentElement(), DOMNodeFilter::SHOW_ELEMENT, nullptr, true);
    bool result = true;
    for (DOMNode* node = walker->firstChild(); node; node = walker->nextSibling()) {
        const auto* element = static_cast<DOMElement*>(node);
        if (FromXml(element->getTagName()) != QLatin1String("file")) result = false;
        const QString type = ChildText(*element, u"type");
        const QString filePath = ChildText(*element, u"path");
        const uint8_t slot = SlotFromText(ChildText(*element, u"slot"));
        FileKind kind;
        if (type == QLatin1String(kDataKindText)) {
            kind = FileKind::Data;
        } else if (type == QLatin1String(kLabelKindText)) {
            kind = FileKind::Label;
        } else {
            continue;
        }
        if (!service_.Transfer(busy, kind, TransferDirection::Send, slot, filePath, parent)) result = false;
    }
    walker->release();
    return result;
}

bool FileSetOperations::ReceiveAll(FileKind kind, const QString& folder, const TransferBusyGuard& busy,
                                   QWidget* parent, DOMDocument* document) {
    bool result = true;
    const uint8_t count = service_.GetSlotCount(kind);
    for (unsigned slot = 1; slot <= count; ++slot) {
        const auto number = static_cast<uint8_t>(slot);
        // An empty slot reads as valid with no name, as the tree lists it.
        const QString stored = service_.GetFileName(kind, number);
        if (!service_.IsSlotValid(kind, number) || stored.isEmpty()) continue;
        // The printer's name becomes part of a file name here: one that is not
        // a plain name is never fetched, so nothing lands outside the folder.
        QString path;
        if (!IsPlainFileName(stored) ||
            !BuildSlotFilePath(folder, QStringLiteral("%1_%2").arg(slot).arg(stored), kind, &path)) {
            receiveFailures_ << UnusableStoredNameMessage(stored).section(QLatin1Char('\n'), 0, 0);
            result = false;
            continue;
        }
        bool fetched = false;
        for (int attempt = 0; attempt < kReceiveTries && !fetched; ++attempt) {
            fetched = service_.Transfer(busy, kind, TransferDirection::Receive, number, path, parent);
        }
        if (!fetched) {
            const QString reason = service_.TransferError();
            receiveFailures_ << QString::fromLatin1(kNotReceived)
                                    .arg(QFileInfo(path).fileName(),
                                         reason.isEmpty() ? QString::fromLatin1(kNoReason) : reason);
            result = false;
            continue;
        }
        if (document) {
            AddFileElement(*document, QLatin1String(kind == FileKind::Data ? kDataKindText : kLabelKindText), path,
                           number);
        }
    }
    return result;
}

bool FileSetOperations::WriteAllFilesDefinition(QString folder, QWidget* parent) {
    receiveFailures_.clear();
    // The definition is sent later, maybe from another folder: a relative
    // path in it would name another file, or none.
    if (QDir::isRelativePath(folder)) folder = QDir::toNativeSeparators(QDir(folder).absolutePath());
    const XmlPlatformScope xml;
    if (!xml.ready()) return false;
    DOMImplementation* implementation = DOMImplementationRegistry::getDOMImplementation(u"Core");
    if (!implementation) return false;

    TransferBusyGuard busy(service_);
    if (!busy.acquired()) return false;

    std::unique_ptr<DOMDocument, DocumentRelease> document(
        implementation->createDocument(kFileSetNamespace, kRootName, nullptr));
    document->setXmlStandalone(true);
    DOMElement* root = document->getDocumentElement();
    root->setAttributeNS(XMLUni::fgXMLNSURIName, u"xmlns:xsi", kSchemaInstanceNamespace);
    const std::u16string schemaLocation =
        ToXml(QString::fromUtf16(kFileSetNamespace) + QLatin1Char(' ') + QLatin1String(kFileSetSchemaName));
    root->setAttributeNS(kSchemaInstanceNamespace, u"xsi:schemaLocation", schemaLocation.c_str());

    bool result = ReceiveAll(FileKind::Data, folder, busy, parent, document.get());
    if (result) {
        result = ReceiveAll(FileKind::Label, folder, busy, parent, document.get());
    } else {
        receiveFailures_ << QString::fromLatin1(kLabelsNotFetched);
    }

    std::unique_ptr<DOMLSSerializer, SerializerRelease> serializer(implementation->createLSSerializer());
    DOMConfiguration* options = serializer->getDomConfig();
    if (options->canSetParameter(XMLUni::fgDOMWRTFormatPrettyPrint, true)) {
        options->setParameter(XMLUni::fgDOMWRTFormatPrettyPrint, true);
    }
    MemBufFormatTarget target;
    std::unique_ptr<DOMLSOutput, OutputRelease> output(implementation->createLSOutput());
    output->setByteStream(&target);
    const bool serialised = serializer->write(document.get(), output.get());

    // A definition of part of the printer must not take the place of one
    // that listed all of it: it goes under a name of its own. Either is
    // written beside and renamed over the old one, link or file, so a write
    // that fails half way leaves the old one whole and a link planted under
    // the name never leads the write elsewhere.
    const QString name = QLatin1String(result ? kAllFilesDefinitionName : kIncompleteDefinitionName);
    const QByteArray bytes(reinterpret_cast<const char*>(target.getRawBuffer()),
                           static_cast<qsizetype>(target.getLen()));
    QString why = QString::fromLatin1(kDefinitionNotMade);
    const bool written = serialised && WriteReplacingName(PlatformPaths::Join(folder, name), bytes, &why);
    if (!written) {
        receiveFailures_ << QString::fromLatin1(kNotReceived).arg(name, why);
    } else if (result) {
        // It describes an earlier run, no longer this folder.
        QFile::remove(PlatformPaths::Join(folder, QLatin1String(kIncompleteDefinitionName)));
    } else {
        receiveFailures_ << QString::fromLatin1(kDefinitionLeftAsItWas)
                                .arg(QLatin1String(kAllFilesDefinitionName), QLatin1String(kIncompleteDefinitionName));
    }
    return result && written;
}

bool FileSetOperations::SendFileSet(FileSetDialogPort& dialogs, SettingsStore& settings, QWidget* parent) {
    if (service_.IsTransferInProgress()) return false;
    SendFileSetForm form(service_.prompt(), settings.GetProfileString(setting::kFileSetUploadPath, QString()));
    if (!dialogs.RunSendFileSetDialog(form, parent)) return false;
    settings.WriteProfileString(setting::kFileSetUploadPath, form.path());

    return SendAndReport(form.path(), parent);
}

bool FileSetOperations::SendAndReport(const QString& path, QWidget* parent) {
    const bool sent = SendFileSetDefinition(path, parent);
    if (sent) {
        service_.prompt().ShowMessage(LoadString(IDS_SEND_FILE_SET_DONE), MessageIcon::Information,
                                      MessageButtons::Ok);
    } else {
        service_.prompt().ShowMessage(LoadString(IDS_SEND_FILE_SET_FAILED), MessageIcon::Exclamation,
                                      MessageButtons::Ok);
    }
    return sent;
}

void FileSetOperations::GetAllFiles(FileSetDialogPort& dialogs, SettingsStore& settings, QWidget* parent) {
    if (service_.IsTransferInProgress()) return;
    GetAllFilesForm form(service_.prompt(),
                         settings.GetProfileString(setting::kDownloadAllPath,
                                                   SettingsStore::DefaultText(setting::kDownloadAllPath)));
    if (!dialogs.RunGetAllFilesDialog(form, parent)) return;
    settings.WriteProfileString(setting::kDownloadAllPath, form.folder());

    ReceiveAndReport(form.folder(), parent);
}

bool FileSetOperations::ReceiveAndReport(const QString& folder, QWidget* parent) {
    const bool received = WriteAllFilesDefinition(folder, parent);
    if (received) {
        service_.prompt().ShowMessage(LoadString(IDS_RECEIVE_ALL_DONE), MessageIcon::Information, MessageButtons::Ok);
    } else {
        // The summary, then which files fell short and why.
        service_.prompt().ShowMessage((QStringList{LoadString(IDS_RECEIVE_ALL_FAILED)} + receiveFailures_).join('\n'),
                                      MessageIcon::Exclamation, MessageButtons::Ok);
    }
    return received;
}

}  // namespace quillory
