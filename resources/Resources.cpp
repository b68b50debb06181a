#include "resources/Resources.h"

#include <QFile>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitQuillonResources()
{
    Q_INIT_RESOURCE(quillon_res);
}

namespace quillon {

void EnsureResources()
{
    // The resource object library normally registers itself at load time; this covers
    // link setups where its static initialiser was dropped.
    static const bool registered = [] {
        if (!QFile::exists(QStringLiteral(":/quillon/strings.tsv")))
            InitQuillonResources();
        return true;
    }();
    (void)registered;
}

} // namespace quillon
