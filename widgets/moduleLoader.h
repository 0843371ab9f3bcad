#pragma once
#include <QFunctionPointer>

// Parts of the program that only some uses need (printing, sound) are modules loaded on first use,
// so that start-up neither loads nor pays for their libraries. A module lies beside the executable
// (or, for a build tree, in its modules folder). nullptr when the module or the symbol is missing.
QFunctionPointer ResolveModuleFunction(const char* module, const char* symbol);
