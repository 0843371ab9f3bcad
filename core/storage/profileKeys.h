#pragma once
#include <string>
// Every section, key, default and fixed file name of the settings files, in one place.

namespace keys {

// Program settings file.
inline constexpr const char* Config = "Config";
inline constexpr const char* LastUser = "LastUser";
inline constexpr const char* LastUserDefault = "0";

// Student profile.
inline constexpr const char* Definition = "Definition";
inline constexpr const char* Information = "Information";
inline constexpr const char* Control = "Control";
inline constexpr const char* ControlDefault = "1";
inline constexpr const char* Keyboard = "Keyboard";
inline constexpr const char* Layout = "Layout";
inline constexpr const char* LayoutDefault = "0";
inline constexpr const char* AulaPrefix = "Aula"; // "Aula" + N, N = 1 to 25
inline constexpr const char* Habilitado = "Habilitado";
inline constexpr const char* AulaAtual = "AulaAtual";
inline constexpr const char* AulaAtualDefault = "0";

// Course totals (profile, section Config) and lesson totals (lesson result file, section Config).
inline constexpr const char* WordOK = "WordOK";
inline constexpr const char* WordErr = "WordErr";
inline constexpr const char* CharOK = "CharOK";
inline constexpr const char* CharErr = "CharErr";
inline constexpr const char* TempoTotal = "TempoTotal";
inline constexpr const char* Porcent = "Porcent";
inline constexpr const char* CountDefault = "0";
inline constexpr const char* TimeDefault = "00:00:00";
inline constexpr const char* PorcentDefault = "100";

// The administrator marker.
#define VT_MARKER_KEY_PATH "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavoli Software\\Velotecla"
#define VT_MARKER_VALUE_NAME "ColorControl"
inline constexpr const char* MarkerKeyPath = VT_MARKER_KEY_PATH;
inline constexpr const char* MarkerValueName = VT_MARKER_VALUE_NAME;
inline constexpr const char* MarkerValuePath = VT_MARKER_KEY_PATH "\\" VT_MARKER_VALUE_NAME; // for reading
#undef VT_MARKER_KEY_PATH
#undef VT_MARKER_VALUE_NAME
inline constexpr const char* MarkerText = "plomek47";

// The built-in administrator, and the stored password of a profile without one.
inline constexpr const char* BuiltInAdmin = "root";
inline constexpr const char* NoPasswordMarker = "quillmarrow";

} // namespace keys

namespace files {
inline constexpr const char* HelpFile = "velotecla.hlp";
inline constexpr const char* UsersFolder = "users";
inline constexpr const char* LessonsFolder = "aulas";
inline constexpr const char* ImagesFolder = "images";
inline constexpr const char* SoundFolder = "snd";
inline constexpr const char* Splash = "splash.jpg";
inline constexpr const char* DiplomaLogo = "logo_diploma.bmp";
inline constexpr const char* DefaultPicture = "default.jpg";
inline constexpr const char* AboutLogo = "sobre_logo.bmp";    // in the images folder
inline constexpr const char* AboutPicture = "sobre_foto.bmp"; // in the images folder
// Lesson N in the lessons folder, and a student's results of it there: built here only.
inline std::string LessonFile(int n) {
    return "aula" + std::to_string(n) + ".aul";
}
inline std::string LessonResultFile(int n, const std::string& student) {
    return "aula" + std::to_string(n) + "_" + student + ".def";
}
} // namespace files
