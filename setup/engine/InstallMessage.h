// The text buffer that carries an installation's failure or closing message; empty means no failure.
#pragma once

#include <string>

#include "platform/Win32Types.h"

class LanguageText;

class InstallMessage {
public:
    bool Empty() const { return text_.empty(); }
    const std::string& Text() const { return text_; }
    // The Windows error of the failure, where the routine that failed knew it; 0 otherwise.
    win::DWORD Error() const { return error_; }
    // A routine writes its whole message at once, replacing what was there.
    void Set(std::string text, win::DWORD error = 0) {
        text_ = std::move(text);
        error_ = error;
    }
    void Clear() {
        text_.clear();
        error_ = 0;
    }

private:
    std::string text_;
    win::DWORD error_ = 0;
};

// The message text of the key; the key itself when the language file lacks it, so that a failure
// never leaves the buffer empty.
std::string MessageFor(const LanguageText& messageText, const char* key);
