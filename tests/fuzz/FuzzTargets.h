// The readers of outside files as fuzz targets: each takes one input of arbitrary bytes and must neither
// crash nor read or write outside its buffers. libFuzzer drives them (scripts/fuzz.sh); the unit tests
// replay the seeds and every input that once failed.
#pragma once

#include <cstddef>
#include <cstdint>

// The profile reader: lookups, section and key lists, every buffer size from 0 up.
void FuzzProfileReader(const uint8_t* data, size_t size);
// The device list and a class file (the input split at a line "====") read for every model, generation
// and driver kind.
void FuzzModelConfig(const uint8_t* data, size_t size);
// "Uninstall.ini": the name matchers and the DLL sections.
void FuzzUninstallCatalogue(const uint8_t* data, size_t size);
// The language files of both programs with their line-break markers, and the "%s" substitution.
void FuzzLanguageText(const uint8_t* data, size_t size);
// The serial settings text and the DCB built from settings taken from the input's bytes.
void FuzzSerialSettings(const uint8_t* data, size_t size);

struct FuzzTarget {
    const char* name;
    void (*run)(const uint8_t* data, size_t size);
};
extern const FuzzTarget kFuzzTargets[5];
