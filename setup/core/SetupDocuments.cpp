#include "SetupDocuments.h"

namespace quillory::setup {

DocumentTarget DocumentFor(Document document) {
    // The maker's addresses are placeholders until the real ones are known.
    switch (document) {
    case Document::ReadMe: return {"README.txt", false};
    case Document::Register: return {"https://www.orvale.example/register", true};
    case Document::OperatorsManual: return {"https://www.orvale.example/manuals/QV7E-Operators-Manual.pdf", true};
    case Document::QuickRefCard: return {"Documentation\\QV7E Quick Reference Card.doc", true};
    case Document::Website: break;
    }
    return {"https://www.orvale.example/", true};
}

}  // namespace quillory::setup
