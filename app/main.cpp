#include "TApplication.h"
#include "TForm1.h"

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  {
    std::unique_ptr<TForm1> form = TForm1::Create(application);
    application.ShowMainWindow(form->Window(), form->FirstFocus());
    application.Run();
  }
  return 0;
}
