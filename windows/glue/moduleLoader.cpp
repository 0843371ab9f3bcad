#include "windows/glue/moduleLoader.h"

#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"

#include <QDir>
#include <QLibrary>

QFunctionPointer ResolveModuleFunction(const char* module, const char* symbol, const QString& folder) {
    // Only the one folder the program was installed with: never a search path, never a folder that an
    // ordinary user could put code in.
    const QString from = folder.isEmpty() ? QString::fromStdString(PathToUtf8(ModuleFolder())) : folder;
    QLibrary library(QDir(from).filePath(QString::fromLatin1(module)));
    if (library.load())
        return library.resolve(symbol); // the library stays loaded for the rest of the run
    return nullptr;
}
