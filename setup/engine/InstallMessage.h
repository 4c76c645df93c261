// The text buffer that carries an installation's failure or closing message; empty means no failure.
#pragma once

#include <string>

class LanguageText;

class InstallMessage {
public:
    bool Empty() const { return text_.empty(); }
    const std::string& Text() const { return text_; }
    // A routine writes its whole message at once, replacing what was there.
    void Set(std::string text) { text_ = std::move(text); }
    void Clear() { text_.clear(); }

private:
    std::string text_;
};

// The message text of the key; the key itself when the language file lacks it, so that a failure
// never leaves the buffer empty.
std::string MessageFor(const LanguageText& messageText, const char* key);
