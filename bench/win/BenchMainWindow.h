// The main window as the window benchmarks measure it: the application initialised, the form
// made, its lists read, shown, and the messages this caused handled.
#pragma once

#include "app/Form1.h"
#include "bench/win/BenchSupport.h"
#include "framework/Application.h"
#include "framework/Component.h"

namespace bench {

struct ShownMainWindow {
  ShownMainWindow() {
    application.Initialize();
    form.reset(new TForm1(nullptr));
    form->DoCreate();
    form->Show();
    Pump();
  }
  TApplication application;
  ComponentPtr<TForm1> form;  // goes before the application
};

}  // namespace bench
