// Reads the converted resource script of uninstall that the native build places beside the tests.
#include "tests/support/UninstallResources.h"

#include <stdexcept>

const win::sim::ResourceScript& UninstallResources() {
    static const win::sim::ResourceScript script = [] {
        win::sim::ResourceScript parsed;
        std::string error;
        if (!win::sim::LoadResourceScript(RESOURCE_BUILD_DIR "/uninstall.rc", {SOURCE_DIR "/resources"},
                                          &parsed, &error))
            throw std::runtime_error(error);
        return parsed;
    }();
    return script;
}
