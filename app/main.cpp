#include "MonotonicClock.h"
#include "TApplication.h"
#include "TForm1.h"

int main(int argc, char** argv) {
  // The event-loop thread makes every pause between the tracker's bytes.
  UseExactTimerSlack();
  TApplication application(argc, argv);
  {
    std::unique_ptr<TForm1> form = TForm1::Create(application);
    application.ShowMainWindow(form->Window(), form->FirstFocus());
    application.Run();
  }
  return 0;
}
