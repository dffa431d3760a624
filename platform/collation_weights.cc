// The collation weights of every code page 1252 byte, as collation.cc compares them: script member,
// primary, diacritic and case weight per group, and a second group for a character that sorts as
// two letters (the ligatures, sharp s and thorn).
#include "platform/collation_weights.h"

namespace platform {

constexpr ByteWeights kByteWeights[256] = {
    {1, {{0, 0, 0, 0}, {0, 0, 0, 0}}},         // 00 control
    {1, {{6, 3, 2, 2}, {0, 0, 0, 0}}},         // 01 control
    {1, {{6, 4, 2, 2}, {0, 0, 0, 0}}},         // 02 control
    {1, {{6, 5, 2, 2}, {0, 0, 0, 0}}},         // 03 control
    {1, {{6, 6, 2, 2}, {0, 0, 0, 0}}},         // 04 control
    {1, {{6, 7, 2, 2}, {0, 0, 0, 0}}},         // 05 control
    {1, {{6, 8, 2, 2}, {0, 0, 0, 0}}},         // 06 control
    {1, {{6, 9, 2, 2}, {0, 0, 0, 0}}},         // 07 control
    {1, {{6, 10, 2, 2}, {0, 0, 0, 0}}},        // 08 control
    {1, {{7, 5, 2, 2}, {0, 0, 0, 0}}},         // 09 control
    {1, {{7, 6, 2, 2}, {0, 0, 0, 0}}},         // 0A control
    {1, {{7, 7, 2, 2}, {0, 0, 0, 0}}},         // 0B control
    {1, {{7, 8, 2, 2}, {0, 0, 0, 0}}},         // 0C control
    {1, {{7, 9, 2, 2}, {0, 0, 0, 0}}},         // 0D control
    {1, {{6, 11, 2, 2}, {0, 0, 0, 0}}},        // 0E control
    {1, {{6, 12, 2, 2}, {0, 0, 0, 0}}},        // 0F control
    {1, {{6, 13, 2, 2}, {0, 0, 0, 0}}},        // 10 control
    {1, {{6, 14, 2, 2}, {0, 0, 0, 0}}},        // 11 control
    {1, {{6, 15, 2, 2}, {0, 0, 0, 0}}},        // 12 control
    {1, {{6, 16, 2, 2}, {0, 0, 0, 0}}},        // 13 control
    {1, {{6, 17, 2, 2}, {0, 0, 0, 0}}},        // 14 control
    {1, {{6, 18, 2, 2}, {0, 0, 0, 0}}},        // 15 control
    {1, {{6, 19, 2, 2}, {0, 0, 0, 0}}},        // 16 control
    {1, {{6, 20, 2, 2}, {0, 0, 0, 0}}},        // 17 control
    {1, {{6, 21, 2, 2}, {0, 0, 0, 0}}},        // 18 control
    {1, {{6, 22, 2, 2}, {0, 0, 0, 0}}},        // 19 control
    {1, {{6, 23, 2, 2}, {0, 0, 0, 0}}},        // 1A control
    {1, {{6, 24, 2, 2}, {0, 0, 0, 0}}},        // 1B control
    {1, {{6, 25, 2, 2}, {0, 0, 0, 0}}},        // 1C control
    {1, {{6, 26, 2, 2}, {0, 0, 0, 0}}},        // 1D control
    {1, {{6, 27, 2, 2}, {0, 0, 0, 0}}},        // 1E control
    {1, {{6, 28, 2, 2}, {0, 0, 0, 0}}},        // 1F control
    {1, {{7, 2, 2, 2}, {0, 0, 0, 0}}},         // 20 SPACE
    {1, {{7, 28, 2, 2}, {0, 0, 0, 0}}},        // 21 EXCLAMATION MARK
    {1, {{7, 29, 2, 2}, {0, 0, 0, 0}}},        // 22 QUOTATION MARK
    {1, {{7, 31, 2, 2}, {0, 0, 0, 0}}},        // 23 NUMBER SIGN
    {1, {{7, 33, 2, 2}, {0, 0, 0, 0}}},        // 24 DOLLAR SIGN
    {1, {{7, 35, 2, 2}, {0, 0, 0, 0}}},        // 25 PERCENT SIGN
    {1, {{7, 37, 2, 2}, {0, 0, 0, 0}}},        // 26 AMPERSAND
    {1, {{6, 128, 2, 2}, {0, 0, 0, 0}}},       // 27 APOSTROPHE
    {1, {{7, 39, 2, 2}, {0, 0, 0, 0}}},        // 28 LEFT PARENTHESIS
    {1, {{7, 42, 2, 2}, {0, 0, 0, 0}}},        // 29 RIGHT PARENTHESIS
    {1, {{7, 45, 2, 2}, {0, 0, 0, 0}}},        // 2A ASTERISK
    {1, {{8, 3, 2, 2}, {0, 0, 0, 0}}},         // 2B PLUS SIGN
    {1, {{7, 47, 2, 2}, {0, 0, 0, 0}}},        // 2C COMMA
    {1, {{6, 130, 2, 2}, {0, 0, 0, 0}}},       // 2D HYPHEN-MINUS
    {1, {{7, 51, 2, 2}, {0, 0, 0, 0}}},        // 2E FULL STOP
    {1, {{7, 53, 2, 2}, {0, 0, 0, 0}}},        // 2F SOLIDUS
    {1, {{13, 3, 2, 2}, {0, 0, 0, 0}}},        // 30 DIGIT ZERO
    {1, {{13, 26, 2, 2}, {0, 0, 0, 0}}},       // 31 DIGIT ONE
    {1, {{13, 28, 2, 2}, {0, 0, 0, 0}}},       // 32 DIGIT TWO
    {1, {{13, 30, 2, 2}, {0, 0, 0, 0}}},       // 33 DIGIT THREE
    {1, {{13, 32, 2, 2}, {0, 0, 0, 0}}},       // 34 DIGIT FOUR
    {1, {{13, 34, 2, 2}, {0, 0, 0, 0}}},       // 35 DIGIT FIVE
    {1, {{13, 36, 2, 2}, {0, 0, 0, 0}}},       // 36 DIGIT SIX
    {1, {{13, 38, 2, 2}, {0, 0, 0, 0}}},       // 37 DIGIT SEVEN
    {1, {{13, 40, 2, 2}, {0, 0, 0, 0}}},       // 38 DIGIT EIGHT
    {1, {{13, 42, 2, 2}, {0, 0, 0, 0}}},       // 39 DIGIT NINE
    {1, {{7, 55, 2, 2}, {0, 0, 0, 0}}},        // 3A COLON
    {1, {{7, 58, 2, 2}, {0, 0, 0, 0}}},        // 3B SEMICOLON
    {1, {{8, 14, 2, 2}, {0, 0, 0, 0}}},        // 3C LESS-THAN SIGN
    {1, {{8, 18, 2, 2}, {0, 0, 0, 0}}},        // 3D EQUALS SIGN
    {1, {{8, 20, 2, 2}, {0, 0, 0, 0}}},        // 3E GREATER-THAN SIGN
    {1, {{7, 60, 2, 2}, {0, 0, 0, 0}}},        // 3F QUESTION MARK
    {1, {{7, 62, 2, 2}, {0, 0, 0, 0}}},        // 40 COMMERCIAL AT
    {1, {{14, 2, 2, 18}, {0, 0, 0, 0}}},       // 41 LATIN CAPITAL LETTER A
    {1, {{14, 9, 2, 18}, {0, 0, 0, 0}}},       // 42 LATIN CAPITAL LETTER B
    {1, {{14, 10, 2, 18}, {0, 0, 0, 0}}},      // 43 LATIN CAPITAL LETTER C
    {1, {{14, 26, 2, 18}, {0, 0, 0, 0}}},      // 44 LATIN CAPITAL LETTER D
    {1, {{14, 33, 2, 18}, {0, 0, 0, 0}}},      // 45 LATIN CAPITAL LETTER E
    {1, {{14, 35, 2, 18}, {0, 0, 0, 0}}},      // 46 LATIN CAPITAL LETTER F
    {1, {{14, 37, 2, 18}, {0, 0, 0, 0}}},      // 47 LATIN CAPITAL LETTER G
    {1, {{14, 44, 2, 18}, {0, 0, 0, 0}}},      // 48 LATIN CAPITAL LETTER H
    {1, {{14, 50, 2, 18}, {0, 0, 0, 0}}},      // 49 LATIN CAPITAL LETTER I
    {1, {{14, 53, 2, 18}, {0, 0, 0, 0}}},      // 4A LATIN CAPITAL LETTER J
    {1, {{14, 54, 2, 18}, {0, 0, 0, 0}}},      // 4B LATIN CAPITAL LETTER K
    {1, {{14, 72, 2, 18}, {0, 0, 0, 0}}},      // 4C LATIN CAPITAL LETTER L
    {1, {{14, 81, 2, 18}, {0, 0, 0, 0}}},      // 4D LATIN CAPITAL LETTER M
    {1, {{14, 112, 2, 18}, {0, 0, 0, 0}}},     // 4E LATIN CAPITAL LETTER N
    {1, {{14, 124, 2, 18}, {0, 0, 0, 0}}},     // 4F LATIN CAPITAL LETTER O
    {1, {{14, 126, 2, 18}, {0, 0, 0, 0}}},     // 50 LATIN CAPITAL LETTER P
    {1, {{14, 137, 2, 18}, {0, 0, 0, 0}}},     // 51 LATIN CAPITAL LETTER Q
    {1, {{14, 138, 2, 18}, {0, 0, 0, 0}}},     // 52 LATIN CAPITAL LETTER R
    {1, {{14, 145, 2, 18}, {0, 0, 0, 0}}},     // 53 LATIN CAPITAL LETTER S
    {1, {{14, 153, 2, 18}, {0, 0, 0, 0}}},     // 54 LATIN CAPITAL LETTER T
    {1, {{14, 159, 2, 18}, {0, 0, 0, 0}}},     // 55 LATIN CAPITAL LETTER U
    {1, {{14, 162, 2, 18}, {0, 0, 0, 0}}},     // 56 LATIN CAPITAL LETTER V
    {1, {{14, 164, 2, 18}, {0, 0, 0, 0}}},     // 57 LATIN CAPITAL LETTER W
    {1, {{14, 166, 2, 18}, {0, 0, 0, 0}}},     // 58 LATIN CAPITAL LETTER X
    {1, {{14, 167, 2, 18}, {0, 0, 0, 0}}},     // 59 LATIN CAPITAL LETTER Y
    {1, {{14, 169, 2, 18}, {0, 0, 0, 0}}},     // 5A LATIN CAPITAL LETTER Z
    {1, {{7, 63, 2, 2}, {0, 0, 0, 0}}},        // 5B LEFT SQUARE BRACKET
    {1, {{7, 65, 2, 2}, {0, 0, 0, 0}}},        // 5C REVERSE SOLIDUS
    {1, {{7, 66, 2, 2}, {0, 0, 0, 0}}},        // 5D RIGHT SQUARE BRACKET
    {1, {{7, 67, 2, 2}, {0, 0, 0, 0}}},        // 5E CIRCUMFLEX ACCENT
    {1, {{7, 68, 2, 2}, {0, 0, 0, 0}}},        // 5F LOW LINE
    {1, {{7, 72, 2, 2}, {0, 0, 0, 0}}},        // 60 GRAVE ACCENT
    {1, {{14, 2, 2, 2}, {0, 0, 0, 0}}},        // 61 LATIN SMALL LETTER A
    {1, {{14, 9, 2, 2}, {0, 0, 0, 0}}},        // 62 LATIN SMALL LETTER B
    {1, {{14, 10, 2, 2}, {0, 0, 0, 0}}},       // 63 LATIN SMALL LETTER C
    {1, {{14, 26, 2, 2}, {0, 0, 0, 0}}},       // 64 LATIN SMALL LETTER D
    {1, {{14, 33, 2, 2}, {0, 0, 0, 0}}},       // 65 LATIN SMALL LETTER E
    {1, {{14, 35, 2, 2}, {0, 0, 0, 0}}},       // 66 LATIN SMALL LETTER F
    {1, {{14, 37, 2, 2}, {0, 0, 0, 0}}},       // 67 LATIN SMALL LETTER G
    {1, {{14, 44, 2, 2}, {0, 0, 0, 0}}},       // 68 LATIN SMALL LETTER H
    {1, {{14, 50, 2, 2}, {0, 0, 0, 0}}},       // 69 LATIN SMALL LETTER I
    {1, {{14, 53, 2, 2}, {0, 0, 0, 0}}},       // 6A LATIN SMALL LETTER J
    {1, {{14, 54, 2, 2}, {0, 0, 0, 0}}},       // 6B LATIN SMALL LETTER K
    {1, {{14, 72, 2, 2}, {0, 0, 0, 0}}},       // 6C LATIN SMALL LETTER L
    {1, {{14, 81, 2, 2}, {0, 0, 0, 0}}},       // 6D LATIN SMALL LETTER M
    {1, {{14, 112, 2, 2}, {0, 0, 0, 0}}},      // 6E LATIN SMALL LETTER N
    {1, {{14, 124, 2, 2}, {0, 0, 0, 0}}},      // 6F LATIN SMALL LETTER O
    {1, {{14, 126, 2, 2}, {0, 0, 0, 0}}},      // 70 LATIN SMALL LETTER P
    {1, {{14, 137, 2, 2}, {0, 0, 0, 0}}},      // 71 LATIN SMALL LETTER Q
    {1, {{14, 138, 2, 2}, {0, 0, 0, 0}}},      // 72 LATIN SMALL LETTER R
    {1, {{14, 145, 2, 2}, {0, 0, 0, 0}}},      // 73 LATIN SMALL LETTER S
    {1, {{14, 153, 2, 2}, {0, 0, 0, 0}}},      // 74 LATIN SMALL LETTER T
    {1, {{14, 159, 2, 2}, {0, 0, 0, 0}}},      // 75 LATIN SMALL LETTER U
    {1, {{14, 162, 2, 2}, {0, 0, 0, 0}}},      // 76 LATIN SMALL LETTER V
    {1, {{14, 164, 2, 2}, {0, 0, 0, 0}}},      // 77 LATIN SMALL LETTER W
    {1, {{14, 166, 2, 2}, {0, 0, 0, 0}}},      // 78 LATIN SMALL LETTER X
    {1, {{14, 167, 2, 2}, {0, 0, 0, 0}}},      // 79 LATIN SMALL LETTER Y
    {1, {{14, 169, 2, 2}, {0, 0, 0, 0}}},      // 7A LATIN SMALL LETTER Z
    {1, {{7, 74, 2, 2}, {0, 0, 0, 0}}},        // 7B LEFT CURLY BRACKET
    {1, {{7, 76, 2, 2}, {0, 0, 0, 0}}},        // 7C VERTICAL LINE
    {1, {{7, 78, 2, 2}, {0, 0, 0, 0}}},        // 7D RIGHT CURLY BRACKET
    {1, {{7, 80, 2, 2}, {0, 0, 0, 0}}},        // 7E TILDE
    {1, {{6, 29, 2, 2}, {0, 0, 0, 0}}},        // 7F control
    {1, {{7, 169, 2, 2}, {0, 0, 0, 0}}},       // 80 EURO SIGN
    {1, {{12, 250, 30, 2}, {0, 0, 0, 0}}},     // 81 undefined in code page 1252 (C1 control)
    {1, {{7, 123, 2, 2}, {0, 0, 0, 0}}},       // 82 SINGLE LOW-9 QUOTATION MARK
    {1, {{14, 35, 67, 2}, {0, 0, 0, 0}}},      // 83 LATIN SMALL LETTER F WITH HOOK
    {1, {{7, 127, 2, 2}, {0, 0, 0, 0}}},       // 84 DOUBLE LOW-9 QUOTATION MARK
    {1, {{10, 16, 2, 2}, {0, 0, 0, 0}}},       // 85 HORIZONTAL ELLIPSIS
    {1, {{11, 37, 2, 2}, {0, 0, 0, 0}}},       // 86 DAGGER
    {1, {{11, 38, 2, 2}, {0, 0, 0, 0}}},       // 87 DOUBLE DAGGER
    {1, {{7, 67, 2, 2}, {0, 0, 0, 0}}},        // 88 MODIFIER LETTER CIRCUMFLEX ACCENT
    {1, {{11, 44, 12, 2}, {0, 0, 0, 0}}},      // 89 PER MILLE SIGN
    {1, {{14, 145, 20, 18}, {0, 0, 0, 0}}},    // 8A LATIN CAPITAL LETTER S WITH CARON
    {1, {{7, 136, 2, 2}, {0, 0, 0, 0}}},       // 8B SINGLE LEFT-POINTING ANGLE QUOTATION MARK
    {2, {{14, 124, 2, 18}, {14, 33, 2, 18}}},  // 8C LATIN CAPITAL LIGATURE OE
    {1, {{12, 250, 42, 2}, {0, 0, 0, 0}}},     // 8D undefined in code page 1252 (C1 control)
    {1, {{14, 169, 20, 18}, {0, 0, 0, 0}}},    // 8E LATIN CAPITAL LETTER Z WITH CARON
    {1, {{12, 250, 44, 2}, {0, 0, 0, 0}}},     // 8F undefined in code page 1252 (C1 control)
    {1, {{12, 250, 45, 2}, {0, 0, 0, 0}}},     // 90 undefined in code page 1252 (C1 control)
    {1, {{7, 121, 2, 2}, {0, 0, 0, 0}}},       // 91 LEFT SINGLE QUOTATION MARK
    {1, {{7, 122, 2, 2}, {0, 0, 0, 0}}},       // 92 RIGHT SINGLE QUOTATION MARK
    {1, {{7, 125, 2, 2}, {0, 0, 0, 0}}},       // 93 LEFT DOUBLE QUOTATION MARK
    {1, {{7, 126, 2, 2}, {0, 0, 0, 0}}},       // 94 RIGHT DOUBLE QUOTATION MARK
    {1, {{11, 39, 2, 2}, {0, 0, 0, 0}}},       // 95 BULLET
    {1, {{6, 137, 2, 2}, {0, 0, 0, 0}}},       // 96 EN DASH
    {1, {{6, 144, 2, 2}, {0, 0, 0, 0}}},       // 97 EM DASH
    {1, {{7, 93, 2, 2}, {0, 0, 0, 0}}},        // 98 SMALL TILDE
    {1, {{14, 156, 2, 18}, {0, 0, 0, 0}}},     // 99 TRADE MARK SIGN
    {1, {{14, 145, 20, 2}, {0, 0, 0, 0}}},     // 9A LATIN SMALL LETTER S WITH CARON
    {1, {{7, 137, 2, 2}, {0, 0, 0, 0}}},       // 9B SINGLE RIGHT-POINTING ANGLE QUOTATION MARK
    {2, {{14, 124, 2, 2}, {14, 33, 2, 2}}},    // 9C LATIN SMALL LIGATURE OE
    {1, {{12, 250, 58, 2}, {0, 0, 0, 0}}},     // 9D undefined in code page 1252 (C1 control)
    {1, {{14, 169, 20, 2}, {0, 0, 0, 0}}},     // 9E LATIN SMALL LETTER Z WITH CARON
    {1, {{14, 167, 19, 18}, {0, 0, 0, 0}}},    // 9F LATIN CAPITAL LETTER Y WITH DIAERESIS
    {1, {{7, 4, 2, 2}, {0, 0, 0, 0}}},         // A0 NO-BREAK SPACE
    {1, {{7, 81, 2, 2}, {0, 0, 0, 0}}},        // A1 INVERTED EXCLAMATION MARK
    {1, {{7, 151, 2, 2}, {0, 0, 0, 0}}},       // A2 CENT SIGN
    {1, {{7, 152, 2, 2}, {0, 0, 0, 0}}},       // A3 POUND SIGN
    {1, {{7, 153, 2, 2}, {0, 0, 0, 0}}},       // A4 CURRENCY SIGN
    {1, {{7, 154, 2, 2}, {0, 0, 0, 0}}},       // A5 YEN SIGN
    {1, {{7, 82, 2, 2}, {0, 0, 0, 0}}},        // A6 BROKEN BAR
    {1, {{10, 6, 2, 2}, {0, 0, 0, 0}}},        // A7 SECTION SIGN
    {1, {{7, 83, 2, 2}, {0, 0, 0, 0}}},        // A8 DIAERESIS
    {1, {{10, 7, 2, 2}, {0, 0, 0, 0}}},        // A9 COPYRIGHT SIGN
    {1, {{14, 2, 3, 14}, {0, 0, 0, 0}}},       // AA FEMININE ORDINAL INDICATOR
    {1, {{8, 24, 2, 2}, {0, 0, 0, 0}}},        // AB LEFT-POINTING DOUBLE ANGLE QUOTATION MARK
    {1, {{10, 8, 2, 2}, {0, 0, 0, 0}}},        // AC NOT SIGN
    {1, {{6, 131, 2, 2}, {0, 0, 0, 0}}},       // AD SOFT HYPHEN
    {1, {{10, 9, 2, 2}, {0, 0, 0, 0}}},        // AE REGISTERED SIGN
    {1, {{7, 84, 2, 2}, {0, 0, 0, 0}}},        // AF MACRON
    {1, {{10, 10, 2, 2}, {0, 0, 0, 0}}},       // B0 DEGREE SIGN
    {1, {{8, 23, 2, 2}, {0, 0, 0, 0}}},        // B1 PLUS-MINUS SIGN
    {1, {{13, 28, 2, 14}, {0, 0, 0, 0}}},      // B2 SUPERSCRIPT TWO
    {1, {{13, 30, 2, 14}, {0, 0, 0, 0}}},      // B3 SUPERSCRIPT THREE
    {1, {{7, 85, 2, 2}, {0, 0, 0, 0}}},        // B4 ACUTE ACCENT
    {1, {{10, 11, 2, 2}, {0, 0, 0, 0}}},       // B5 MICRO SIGN
    {1, {{10, 12, 2, 2}, {0, 0, 0, 0}}},       // B6 PILCROW SIGN
    {1, {{10, 13, 2, 2}, {0, 0, 0, 0}}},       // B7 MIDDLE DOT
    {1, {{7, 86, 2, 2}, {0, 0, 0, 0}}},        // B8 CEDILLA
    {1, {{13, 26, 2, 14}, {0, 0, 0, 0}}},      // B9 SUPERSCRIPT ONE
    {1, {{14, 124, 3, 14}, {0, 0, 0, 0}}},     // BA MASCULINE ORDINAL INDICATOR
    {1, {{8, 26, 2, 2}, {0, 0, 0, 0}}},        // BB RIGHT-POINTING DOUBLE ANGLE QUOTATION MARK
    {1, {{13, 13, 2, 2}, {0, 0, 0, 0}}},       // BC VULGAR FRACTION ONE QUARTER
    {1, {{13, 17, 2, 2}, {0, 0, 0, 0}}},       // BD VULGAR FRACTION ONE HALF
    {1, {{13, 21, 2, 2}, {0, 0, 0, 0}}},       // BE VULGAR FRACTION THREE QUARTERS
    {1, {{7, 87, 2, 2}, {0, 0, 0, 0}}},        // BF INVERTED QUESTION MARK
    {1, {{14, 2, 15, 18}, {0, 0, 0, 0}}},      // C0 LATIN CAPITAL LETTER A WITH GRAVE
    {1, {{14, 2, 14, 18}, {0, 0, 0, 0}}},      // C1 LATIN CAPITAL LETTER A WITH ACUTE
    {1, {{14, 2, 18, 18}, {0, 0, 0, 0}}},      // C2 LATIN CAPITAL LETTER A WITH CIRCUMFLEX
    {1, {{14, 2, 25, 18}, {0, 0, 0, 0}}},      // C3 LATIN CAPITAL LETTER A WITH TILDE
    {1, {{14, 2, 19, 18}, {0, 0, 0, 0}}},      // C4 LATIN CAPITAL LETTER A WITH DIAERESIS
    {1, {{14, 2, 26, 18}, {0, 0, 0, 0}}},      // C5 LATIN CAPITAL LETTER A WITH RING ABOVE
    {2, {{14, 2, 2, 18}, {14, 33, 2, 18}}},    // C6 LATIN CAPITAL LETTER AE
    {1, {{14, 10, 28, 18}, {0, 0, 0, 0}}},     // C7 LATIN CAPITAL LETTER C WITH CEDILLA
    {1, {{14, 33, 15, 18}, {0, 0, 0, 0}}},     // C8 LATIN CAPITAL LETTER E WITH GRAVE
    {1, {{14, 33, 14, 18}, {0, 0, 0, 0}}},     // C9 LATIN CAPITAL LETTER E WITH ACUTE
    {1, {{14, 33, 18, 18}, {0, 0, 0, 0}}},     // CA LATIN CAPITAL LETTER E WITH CIRCUMFLEX
    {1, {{14, 33, 19, 18}, {0, 0, 0, 0}}},     // CB LATIN CAPITAL LETTER E WITH DIAERESIS
    {1, {{14, 50, 15, 18}, {0, 0, 0, 0}}},     // CC LATIN CAPITAL LETTER I WITH GRAVE
    {1, {{14, 50, 14, 18}, {0, 0, 0, 0}}},     // CD LATIN CAPITAL LETTER I WITH ACUTE
    {1, {{14, 50, 18, 18}, {0, 0, 0, 0}}},     // CE LATIN CAPITAL LETTER I WITH CIRCUMFLEX
    {1, {{14, 50, 19, 18}, {0, 0, 0, 0}}},     // CF LATIN CAPITAL LETTER I WITH DIAERESIS
    {1, {{14, 26, 104, 18}, {0, 0, 0, 0}}},    // D0 LATIN CAPITAL LETTER ETH
    {1, {{14, 112, 25, 18}, {0, 0, 0, 0}}},    // D1 LATIN CAPITAL LETTER N WITH TILDE
    {1, {{14, 124, 15, 18}, {0, 0, 0, 0}}},    // D2 LATIN CAPITAL LETTER O WITH GRAVE
    {1, {{14, 124, 14, 18}, {0, 0, 0, 0}}},    // D3 LATIN CAPITAL LETTER O WITH ACUTE
    {1, {{14, 124, 18, 18}, {0, 0, 0, 0}}},    // D4 LATIN CAPITAL LETTER O WITH CIRCUMFLEX
    {1, {{14, 124, 25, 18}, {0, 0, 0, 0}}},    // D5 LATIN CAPITAL LETTER O WITH TILDE
    {1, {{14, 124, 19, 18}, {0, 0, 0, 0}}},    // D6 LATIN CAPITAL LETTER O WITH DIAERESIS
    {1, {{8, 28, 2, 2}, {0, 0, 0, 0}}},        // D7 MULTIPLICATION SIGN
    {1, {{14, 124, 33, 18}, {0, 0, 0, 0}}},    // D8 LATIN CAPITAL LETTER O WITH STROKE
    {1, {{14, 159, 15, 18}, {0, 0, 0, 0}}},    // D9 LATIN CAPITAL LETTER U WITH GRAVE
    {1, {{14, 159, 14, 18}, {0, 0, 0, 0}}},    // DA LATIN CAPITAL LETTER U WITH ACUTE
    {1, {{14, 159, 18, 18}, {0, 0, 0, 0}}},    // DB LATIN CAPITAL LETTER U WITH CIRCUMFLEX
    {1, {{14, 159, 19, 18}, {0, 0, 0, 0}}},    // DC LATIN CAPITAL LETTER U WITH DIAERESIS
    {1, {{14, 167, 14, 18}, {0, 0, 0, 0}}},    // DD LATIN CAPITAL LETTER Y WITH ACUTE
    {2, {{14, 153, 2, 18}, {14, 44, 2, 18}}},  // DE LATIN CAPITAL LETTER THORN
    {2, {{14, 145, 2, 2}, {14, 145, 2, 2}}},   // DF LATIN SMALL LETTER SHARP S
    {1, {{14, 2, 15, 2}, {0, 0, 0, 0}}},       // E0 LATIN SMALL LETTER A WITH GRAVE
    {1, {{14, 2, 14, 2}, {0, 0, 0, 0}}},       // E1 LATIN SMALL LETTER A WITH ACUTE
    {1, {{14, 2, 18, 2}, {0, 0, 0, 0}}},       // E2 LATIN SMALL LETTER A WITH CIRCUMFLEX
    {1, {{14, 2, 25, 2}, {0, 0, 0, 0}}},       // E3 LATIN SMALL LETTER A WITH TILDE
    {1, {{14, 2, 19, 2}, {0, 0, 0, 0}}},       // E4 LATIN SMALL LETTER A WITH DIAERESIS
    {1, {{14, 2, 26, 2}, {0, 0, 0, 0}}},       // E5 LATIN SMALL LETTER A WITH RING ABOVE
    {2, {{14, 2, 2, 2}, {14, 33, 2, 2}}},      // E6 LATIN SMALL LETTER AE
    {1, {{14, 10, 28, 2}, {0, 0, 0, 0}}},      // E7 LATIN SMALL LETTER C WITH CEDILLA
    {1, {{14, 33, 15, 2}, {0, 0, 0, 0}}},      // E8 LATIN SMALL LETTER E WITH GRAVE
    {1, {{14, 33, 14, 2}, {0, 0, 0, 0}}},      // E9 LATIN SMALL LETTER E WITH ACUTE
    {1, {{14, 33, 18, 2}, {0, 0, 0, 0}}},      // EA LATIN SMALL LETTER E WITH CIRCUMFLEX
    {1, {{14, 33, 19, 2}, {0, 0, 0, 0}}},      // EB LATIN SMALL LETTER E WITH DIAERESIS
    {1, {{14, 50, 15, 2}, {0, 0, 0, 0}}},      // EC LATIN SMALL LETTER I WITH GRAVE
    {1, {{14, 50, 14, 2}, {0, 0, 0, 0}}},      // ED LATIN SMALL LETTER I WITH ACUTE
    {1, {{14, 50, 18, 2}, {0, 0, 0, 0}}},      // EE LATIN SMALL LETTER I WITH CIRCUMFLEX
    {1, {{14, 50, 19, 2}, {0, 0, 0, 0}}},      // EF LATIN SMALL LETTER I WITH DIAERESIS
    {1, {{14, 26, 104, 2}, {0, 0, 0, 0}}},     // F0 LATIN SMALL LETTER ETH
    {1, {{14, 112, 25, 2}, {0, 0, 0, 0}}},     // F1 LATIN SMALL LETTER N WITH TILDE
    {1, {{14, 124, 15, 2}, {0, 0, 0, 0}}},     // F2 LATIN SMALL LETTER O WITH GRAVE
    {1, {{14, 124, 14, 2}, {0, 0, 0, 0}}},     // F3 LATIN SMALL LETTER O WITH ACUTE
    {1, {{14, 124, 18, 2}, {0, 0, 0, 0}}},     // F4 LATIN SMALL LETTER O WITH CIRCUMFLEX
    {1, {{14, 124, 25, 2}, {0, 0, 0, 0}}},     // F5 LATIN SMALL LETTER O WITH TILDE
    {1, {{14, 124, 19, 2}, {0, 0, 0, 0}}},     // F6 LATIN SMALL LETTER O WITH DIAERESIS
    {1, {{8, 29, 2, 2}, {0, 0, 0, 0}}},        // F7 DIVISION SIGN
    {1, {{14, 124, 33, 2}, {0, 0, 0, 0}}},     // F8 LATIN SMALL LETTER O WITH STROKE
    {1, {{14, 159, 15, 2}, {0, 0, 0, 0}}},     // F9 LATIN SMALL LETTER U WITH GRAVE
    {1, {{14, 159, 14, 2}, {0, 0, 0, 0}}},     // FA LATIN SMALL LETTER U WITH ACUTE
    {1, {{14, 159, 18, 2}, {0, 0, 0, 0}}},     // FB LATIN SMALL LETTER U WITH CIRCUMFLEX
    {1, {{14, 159, 19, 2}, {0, 0, 0, 0}}},     // FC LATIN SMALL LETTER U WITH DIAERESIS
    {1, {{14, 167, 14, 2}, {0, 0, 0, 0}}},     // FD LATIN SMALL LETTER Y WITH ACUTE
    {2, {{14, 153, 2, 2}, {14, 44, 2, 2}}},    // FE LATIN SMALL LETTER THORN
    {1, {{14, 167, 19, 2}, {0, 0, 0, 0}}},     // FF LATIN SMALL LETTER Y WITH DIAERESIS
};

static_assert(WeightsFitSortKey(kByteWeights));

}  // namespace platform
