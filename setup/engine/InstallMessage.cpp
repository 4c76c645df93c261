// Looking up the texts that go into an install message.
#include "setup/engine/InstallMessage.h"

#include "shared/LanguageText.h"

std::string MessageFor(const LanguageText& messageText, const char* key) {
    std::string text = messageText.Get(key);
    return text.empty() ? std::string(key) : text;
}
