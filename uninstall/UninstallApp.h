// The start of uninstall.exe: one instance, not while setup runs, then the main dialog as a modal dialog.
#pragma once

#include <functional>

#include "platform/Platform.h"

class UninstallDialog;

// The captions the programs' windows have in their templates, when no language file renames them.
constexpr char kUninstallDialogCaption[] = "打印机卸载程序";
constexpr char kSetupWindowCaption[] = "打印机驱动安装程序";

// Runs the whole program and returns its exit code. `prepare` sees the dialog before it is shown.
int RunUninstall(win::Platform& platform, const std::function<void(UninstallDialog&)>& prepare = nullptr);
