#include "widgets/moduleLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

QFunctionPointer ResolveModuleFunction(const char* module, const char* symbol) {
    const QString name = QString::fromLatin1(module);
    QStringList places{QCoreApplication::applicationDirPath()};
#ifdef VT_MODULE_DIR
    places << QStringLiteral(VT_MODULE_DIR);
#endif
    for (const QString& place : places) {
        QLibrary library(QDir(place).filePath(name));
        if (library.load())
            if (QFunctionPointer f = library.resolve(symbol))
                return f; // the library stays loaded for the rest of the run
    }
    return nullptr;
}
