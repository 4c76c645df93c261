// The release checks of an installation medium, and the records setup would build from its model files.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace medium {

enum class FindingKind {
    kByteOrderMark,
    kMissingClassSuffix,
    kMissingSection,
    kMissingFile,
    kNotPlainName,
    kCountMismatch,
    kNotANumber,
    kUnknownKey,
    kUnknownSection,
    kNotSet,
    kTooLong,
    kDuplicateKey,
    kDoesNotFit,
};

// One fault: the file as a path on the medium ("DRVCONFIG\setup.ini"), and the section and key where
// the fault lies, empty when it concerns the whole file or section.
struct Finding {
    FindingKind kind;
    std::string file;
    std::string section;
    std::string key;
    std::string message;
};

struct CheckOptions {
    // The driver files, the USB kit and the programs are placed only when a medium is assembled.
    bool checkFiles = true;
};

// False when the medium cannot be read at all (it has no DRVCONFIG\setup.ini); the findings are then
// empty. Texts stay in the medium's code page.
bool CheckMedium(const std::string& mediumDir, const CheckOptions& options, std::vector<Finding>* findings);

// "FILE [SECTION] KEY: message", leaving out what the finding does not name.
std::string FormatFinding(const Finding& finding);

// One JSON object per line for each listed model, generation and driver kind, with what ModelConfig
// fills for them; false when the medium has no DRVCONFIG\setup.ini.
bool DumpMedium(const std::string& mediumDir, std::ostream& out);

// Code page 936 bytes as UTF-8; a byte sequence that is not valid there becomes U+FFFD.
std::string Cp936ToUtf8(const std::string& text);
// A JSON string literal, quotes included, of UTF-8 text.
std::string JsonString(const std::string& utf8);

}  // namespace medium
