// The simulated run-time libraries: winspool's entries reach the right machine, tests add and remove entries.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/sim/SimPlatform.h"

namespace {

using namespace win;
using win::sim::SimPlatform;

int WINAPI Answer(int value) { return value + 1; }

TEST(SimLibraryTest, SetDefaultPrinterReachesTheSpoolerOfItsOwnMachineFromAnyThread) {
    SimPlatform first;
    auto second = std::make_unique<SimPlatform>();
    for (SimPlatform* sim : {&first, second.get()}) sim->spooler().printers.push_back({});
    first.spooler().printers[0].name = "First";
    second->spooler().printers[0].name = "Second";

    Library& library = second->platform().library;
    HMODULE winspool = library.LoadLibraryA("WINSPOOL.DRV");
    ASSERT_NE(nullptr, winspool);
    auto setDefault = EntryAs<PFN_SetDefaultPrinterA>(library.GetProcAddress(winspool, "SetDefaultPrinterA"));
    ASSERT_NE(nullptr, setDefault);
    BOOL result = FALSE;
    std::thread worker([&] { result = setDefault("second"); });
    worker.join();
    EXPECT_TRUE(result);
    EXPECT_EQ("Second", second->spooler().defaultPrinter);
    EXPECT_EQ("", first.spooler().defaultPrinter);
    EXPECT_TRUE(library.FreeLibrary(winspool));
    EXPECT_EQ(0, second->library().LoadedCount());
}

TEST(SimLibraryTest, RemovedEntryIsNotFoundAsOnSystemsThatLackIt) {
    SimPlatform sim;
    sim.library().RemoveEntry("winspool.drv", "SetDefaultPrinterA");
    HMODULE winspool = sim.platform().library.LoadLibraryA("winspool.drv");
    ASSERT_NE(nullptr, winspool);
    sim::SetSimLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, sim.platform().library.GetProcAddress(winspool, "SetDefaultPrinterA"));
    EXPECT_EQ(ERROR_PROC_NOT_FOUND, sim.platform().kernel.GetLastError());
    EXPECT_NE(nullptr, sim.platform().library.GetProcAddress(winspool, "DeletePrinterDriverExA"));
    EXPECT_EQ(nullptr, sim.platform().library.GetProcAddress(winspool, "setdefaultprintera"));
    sim.platform().library.FreeLibrary(winspool);
    sim.library().RemoveLibrary("winspool.drv");
    EXPECT_EQ(nullptr, sim.platform().library.LoadLibraryA("winspool.drv"));
    EXPECT_EQ(ERROR_MOD_NOT_FOUND, sim.platform().kernel.GetLastError());
}

TEST(SimLibraryTest, RegisteredLibraryIsFoundByFileNameAndItsEntriesCalled) {
    SimPlatform sim;
    sim.library().RegisterEntry("KxUsbInt.dll", "Answer", &Answer);
    Library& library = sim.platform().library;
    HMODULE usb = library.LoadLibraryA("C:\\MEDIUM\\kxusbint");
    ASSERT_NE(nullptr, usb);
    auto answer = EntryAs<int(WINAPI*)(int)>(library.GetProcAddress(usb, "Answer"));
    ASSERT_NE(nullptr, answer);
    EXPECT_EQ(42, answer(41));
    EXPECT_TRUE(library.FreeLibrary(usb));
    EXPECT_FALSE(library.FreeLibrary(usb)) << "a library freed as often as loaded is gone";
    EXPECT_EQ(nullptr, library.GetProcAddress(usb, "Answer"));
    EXPECT_EQ((std::vector<std::string>{"LoadLibraryA C:\\MEDIUM\\kxusbint", "GetProcAddress Answer",
                                        "FreeLibrary kxusbint.dll", "FreeLibrary ", "GetProcAddress Answer"}),
              sim.library().calls);
}

}  // namespace
