#pragma once
#include <cstdint>
#include <span>
#include <string>

// Keys are numbered as Windows numbers them (virtual-key codes), in lesson files, in the judging and
// on the on-screen keyboard, whatever system the program runs on. The codes the program names.
namespace Vk {
// clang-format off
inline constexpr std::uint16_t
    Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Pause = 19, Capital = 20,
    Escape = 27, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39,
    Down = 40, Snapshot = 44, Insert = 45, Delete = 46, LWin = 91, RWin = 92, Apps = 93, Numpad0 = 96,
    Multiply = 106, Add = 107, Subtract = 109, Decimal = 110, Divide = 111, F1 = 112, F11 = 122, F12 = 123,
    NumLock = 144, Scroll = 145,
    // The punctuation keys, by their place; what they print depends on the layout.
    Oem1 = 186,   // right of L: American ";", ABNT2 "Ç"
    OemPlus = 187, OemComma = 188, OemMinus = 189, OemPeriod = 190,
    Oem2 = 191,   // American "/", ABNT2 ";"
    Oem3 = 192,   // left of 1: American "`", ABNT2 "'"
    AbntC1 = 193, // ABNT2 only: "/" left of the right Shift
    AbntC2 = 194, // ABNT2 only: the numeric pad's second "."
    Oem4 = 219, Oem5 = 220, Oem6 = 221, Oem7 = 222,
    Oem102 = 226; // ISO keyboards only: left of Z
// clang-format on
inline constexpr std::uint16_t RightOfL = Oem1;
// Codes above this light no key and are never asked for in a lesson.
inline constexpr std::uint16_t LastKeyCode = Oem7;
} // namespace Vk

enum class Finger : std::uint8_t {
    LeftPinky,
    LeftRing,
    LeftMiddle,
    LeftIndex,
    RightIndex,
    RightMiddle,
    RightRing,
    RightPinky,
    Thumb
};

// The colour of a finger wherever keys are drawn by finger (the course pictures, the report's keyboards),
// as 0xRRGGBB: the two pinkies alike, and so on, the two index fingers apart.
std::uint32_t FingerRgb(Finger finger);

// How the on-screen keyboard draws a key: in the ordinary or the function colour, the joint of the two
// pieces of Enter without a border, Tab made but never shown.
enum class KeyLook : std::uint8_t { None, Ordinary, Function, Joint, Hidden };

// One key of the keyboard: its code, its place among X keycodes, and for the keys of the on-screen
// keyboard its label there, its legends, its designed rectangle, its place on a full-size keyboard for
// the course pictures and the finger that presses it.
struct TKeyboardKey {
    std::uint16_t code;
    std::uint8_t xKeycode;         // evdev code + 8, as X11 and Wayland report it; 0: none
    const char* name = nullptr;    // the on-screen keyboard's label; null: not on it
    const char* legend = "";       // as designed, American (UTF-8)
    const char* layout0 = nullptr; // set: relabelled by the layout, this under layout 0 ...
    const char* abnt2 = nullptr;   // ... and this under layout 1; printed on a Brazilian key
    KeyLook look = KeyLook::None;
    std::int16_t left = 0, top = 0, width = 0, height = 0; // on-screen, designed pixels
    float column = 0, row = 0, units = 0;                  // in key widths; units 0: not drawn as a box
    Finger finger = Finger::Thumb;
    char shifted = 0, abnt2Shifted = 0; // the ASCII character Shift gives, American and ABNT2; 0: none

    bool OnScreen() const { return name != nullptr; }
    // Lit by its code, and so a key a lesson may ask for.
    bool Lit() const { return name != nullptr && look != KeyLook::Hidden; }
    std::string AbntLegend() const { return abnt2 ? abnt2 : legend; }
};

// Every key the program knows, the on-screen keyboard's in the order they are made.
std::span<const TKeyboardKey> KeyboardKeys();

// The first key with that code, lit keys first; null when no key has it.
const TKeyboardKey* KeyOfCode(int code);

// The code of the key at an X keycode; 0 for none (the numeric pad, whose code follows Num Lock).
std::uint16_t CodeOfXKeycode(std::uint32_t xKeycode);

// The code of the key whose American legend, or what Shift gives there, is an ASCII character; 0: none.
std::uint16_t CodeOfAmericanCharacter(char c);

// Whether a code lights a key of the on-screen keyboard (and so can be asked for in a lesson).
bool CodeHasKey(int code);
