#include "widgets/fonts.h"

#include <QFont>
#include <QStringList>
#include <system_error>
#include <thread>

#ifndef _WIN32
#include <dlfcn.h>
#include <pthread.h>
#include <sched.h>
#endif

namespace {
// Joined at the latest when the program ends.
std::jthread g_fontWarmUp;
} // namespace

void BeginFontWarmUp() {
#ifndef _WIN32
    if (g_fontWarmUp.joinable())
        return;
    // The toolkit's own fontconfig, found among the libraries already loaded: whichever of this
    // thread and the toolkit comes first loads the configuration, and fontconfig keeps one of them.
    using FcInitFunction = int (*)();
    const auto fcInit = reinterpret_cast<FcInitFunction>(dlsym(RTLD_DEFAULT, "FcInit"));
    if (!fcInit)
        return;
    try {
        g_fontWarmUp = std::jthread([fcInit] {
#ifdef __linux__
            // Only on a processor that would otherwise wait: the start-up itself must not be slowed.
            sched_param idle{};
            pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
#endif
            fcInit();
        });
    } catch (const std::system_error&) {
        // No thread to be had: the toolkit loads the configuration itself when it first needs it.
    }
#endif
}

void FinishFontWarmUp() {
    if (!g_fontWarmUp.joinable())
        return;
#ifdef __linux__
    // From now on the program waits for it: on a busy machine an idle-priority thread could starve.
    sched_param normal{};
    pthread_setschedparam(g_fontWarmUp.native_handle(), SCHED_OTHER, &normal);
#endif
    g_fontWarmUp.join();
}

void InstallFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"), {QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Terminal"), {QStringLiteral("Terminus"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Signature"), {QStringLiteral("Z003"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Typewriter"),
                               {QStringLiteral("Nimbus Mono PS"), QStringLiteral("Liberation Mono")});
}
