// How much of a file set definition the reader takes on. A definition lists
// printer files, written by hand or by Get all files: hundreds of entries at
// most. Past that the parser's time and memory grow out of all proportion, so
// a larger definition is refused before it is parsed, and one whose elements
// go past the limits is refused as soon as the parse meets them.
#ifndef QUILLORY_FILE_SET_LIMITS_H
#define QUILLORY_FILE_SET_LIMITS_H

#include <QByteArray>
#include <QString>

#include <xercesc/parsers/XercesDOMParser.hpp>

namespace quillory {

inline constexpr qint64 kLargestDefinitionBytes = 1024 * 1024;
inline constexpr int kMostDefinitionEntries = 10000;
// Levels of elements: a valid definition has three (root, file, type).
inline constexpr int kDeepestDefinitionNesting = 16;

extern const char kDefinitionTooLarge[];
extern const char kDefinitionTooManyEntries[];

enum class DefinitionRead { Read, NotReadable, TooLarge };

// The whole definition, from a regular file of at most kLargestDefinitionBytes;
// no more than that is ever read, should the file grow meanwhile.
DefinitionRead ReadDefinitionBytes(const QString& path, QByteArray* bytes);

// The DOM parser the reader uses, counting elements as it builds them.
class BoundedDefinitionParser : public xercesc::XercesDOMParser {
public:
    enum class Bound { Within, TooManyEntries, TooDeep, TooManyElements };

    BoundedDefinitionParser();

    // Parses the source, stopping at the first element past a limit. False
    // when the parse stopped there or could not begin; the parser's own
    // errors go to its error handler as ever. May throw as parse() does.
    bool ParseWithinBounds(const xercesc::InputSource& source);
    Bound bound() const { return bound_; }

    void startElement(const xercesc::XMLElementDecl& elemDecl, unsigned int urlId, const XMLCh* elemPrefix,
                      const xercesc::RefVectorOf<xercesc::XMLAttr>& attrList, XMLSize_t attrCount, bool isEmpty,
                      bool isRoot) override;
    void endElement(const xercesc::XMLElementDecl& elemDecl, unsigned int urlId, bool isRoot,
                    const XMLCh* elemPrefix) override;

private:
    Bound bound_ = Bound::Within;
    int depth_ = 0;
    int entries_ = 0;
    int elements_ = 0;
    bool emptyStillOpen_ = false;
};

}  // namespace quillory

#endif
