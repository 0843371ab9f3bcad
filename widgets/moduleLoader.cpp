#include "widgets/moduleLoader.h"

#include "platform/dataPlaces.h"
#include "widgets/qtText.h"

#include <QDir>
#include <QLibrary>

QFunctionPointer ResolveModuleFunction(const char* module, const char* symbol) {
    // Only the one folder the program was installed with: never a search path, never a folder that an
    // ordinary user could put code in.
    QLibrary library(QDir(FromPath(ModuleFolder())).filePath(QString::fromLatin1(module)));
    if (library.load())
        return library.resolve(symbol); // the library stays loaded for the rest of the run
    return nullptr;
}
