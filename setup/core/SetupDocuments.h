// Where each document button leads: a file of the installation medium or the
// maker's web pages.
#ifndef QUILLORY_SETUP_DOCUMENTS_H
#define QUILLORY_SETUP_DOCUMENTS_H

#include "SetupHost.h"

namespace quillory::setup {

struct DocumentTarget {
    const char* target;  // a web address, or a path relative to the medium's folder
    bool minimized;
};
DocumentTarget DocumentFor(Document document);

}  // namespace quillory::setup

#endif
