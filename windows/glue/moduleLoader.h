#pragma once
#include <QFunctionPointer>
#include <QString>

// Parts of the program that only some uses need (printing, sound) are modules loaded on first use,
// so that start-up neither loads nor pays for their libraries. A module is loaded from ModuleFolder()
// only (beside a portable program's executable, or the installation's own folder), or from the folder
// given (tests). nullptr when the module or the symbol is missing.
QFunctionPointer ResolveModuleFunction(const char* module, const char* symbol, const QString& folder = {});
