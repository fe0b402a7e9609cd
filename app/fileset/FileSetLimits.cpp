#include "FileSetLimits.h"

#include <QFile>
#include <QFileInfo>

#include <xercesc/framework/XMLPScanToken.hpp>

namespace quillory {

using namespace xercesc;

const char kDefinitionTooLarge[] =
    "Selected file set definition file is larger than 1 MiB (1,048,576 bytes).\n"
    "Split it into smaller file sets.";
const char kDefinitionTooManyEntries[] =
    "Selected file set definition file lists more than 10,000 files.\n"
    "Split it into smaller file sets.";

namespace {

// Every entry is four elements (file, type, path, slot) below the one root.
constexpr int kMostDefinitionElements = 1 + 4 * kMostDefinitionEntries;

}  // namespace

DefinitionRead ReadDefinitionBytes(const QString& path, QByteArray* bytes) {
    // Only a regular file: a pipe or a device could be read for ever.
    const QFileInfo info(path);
    if (!info.isFile()) return DefinitionRead::NotReadable;
    if (info.size() > kLargestDefinitionBytes) return DefinitionRead::TooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return DefinitionRead::NotReadable;
    *bytes = file.read(kLargestDefinitionBytes + 1);
    if (bytes->size() > kLargestDefinitionBytes) return DefinitionRead::TooLarge;
    return file.error() == QFileDevice::NoError ? DefinitionRead::Read : DefinitionRead::NotReadable;
}

BoundedDefinitionParser::BoundedDefinitionParser()
    : XercesDOMParser(nullptr, XMLPlatformUtils::fgMemoryManager, nullptr) {}

bool BoundedDefinitionParser::ParseWithinBounds(const InputSource& source) {
    bound_ = Bound::Within;
    depth_ = entries_ = elements_ = 0;
    XMLPScanToken token;
    if (!parseFirst(source, token)) return false;
    while (bound_ == Bound::Within && parseNext(token)) {
    }
    if (bound_ == Bound::Within) return true;
    parseReset(token);
    return false;
}

void BoundedDefinitionParser::startElement(const XMLElementDecl& elemDecl, unsigned int urlId,
                                           const XMLCh* elemPrefix, const RefVectorOf<XMLAttr>& attrList,
                                           XMLSize_t attrCount, bool isEmpty, bool isRoot) {
    ++depth_;
    ++elements_;
    if (depth_ == 2) ++entries_;
    if (entries_ > kMostDefinitionEntries) {
        bound_ = Bound::TooManyEntries;
    } else if (depth_ > kDeepestDefinitionNesting) {
        bound_ = Bound::TooDeep;
    } else if (elements_ > kMostDefinitionElements) {
        bound_ = Bound::TooManyElements;
    }
    // An empty element ends with its start; whether the base class tells
    // endElement so or not, it leaves this level exactly once.
    emptyStillOpen_ = isEmpty;
    XercesDOMParser::startElement(elemDecl, urlId, elemPrefix, attrList, attrCount, isEmpty, isRoot);
    if (emptyStillOpen_) {
        emptyStillOpen_ = false;
        --depth_;
    }
}

void BoundedDefinitionParser::endElement(const XMLElementDecl& elemDecl, unsigned int urlId, bool isRoot,
                                         const XMLCh* elemPrefix) {
    emptyStillOpen_ = false;
    --depth_;
    XercesDOMParser::endElement(elemDecl, urlId, isRoot, elemPrefix);
}

}  // namespace quillory
