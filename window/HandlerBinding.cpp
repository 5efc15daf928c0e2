#include "HandlerBinding.h"

#include <glibmm/exceptionhandler.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "TApplication.h"
#include "TForm1.h"

namespace {

using Notify = void (TForm1::*)(Gtk::Widget*);
using UpDownClick = void (TForm1::*)(Gtk::Widget*, TUDBtnType);

// Every handler runs behind one of these: they turn the toolkit's call into
// the member's, and hand any exception to the general error handler, since
// none may pass back through the toolkit's C frames.
template <class Call>
void Guarded(Call call) {
  try {
    call();
  } catch (...) {
    Glib::exception_handlers_invoke();
  }
}

TForm1& FormOf(gpointer data) { return *static_cast<TForm1*>(data); }

template <Notify H>
void OnNotify(GtkWidget* sender, gpointer form) {
  Guarded([&] { (FormOf(form).*H)(Glib::wrap(sender)); });
}

template <Notify H>
gboolean OnPaint(GtkWidget* sender, GdkEventExpose*, gpointer form) {
  Guarded([&] { (FormOf(form).*H)(Glib::wrap(sender)); });
  return FALSE;
}

template <Notify H>
void OnChangeBounds(GtkWidget* sender, GtkAllocation*, gpointer form) {
  Guarded([&] { (FormOf(form).*H)(Glib::wrap(sender)); });
}

// The close request cannot be refused: the program ends after it whatever
// the handler did.
template <Notify H>
gboolean OnClose(GtkWidget* sender, GdkEvent*, gpointer form) {
  Guarded([&] { (FormOf(form).*H)(Glib::wrap(sender)); });
  FormOf(form).Application().Terminate();
  return TRUE;
}

template <UpDownClick H>
void OnUpDownClick(TUpDown* sender, gboolean up, gpointer form) {
  Guarded([&] {
    (FormOf(form).*H)(Glib::wrap(GTK_WIDGET(sender)), up ? TUDBtnType::btNext : TUDBtnType::btPrev);
  });
}

struct THandler {
  const char* name;
  const char* signal;
  GCallback callback;
};

#define KORVA_HANDLER(name, signal, kind) {#name, signal, G_CALLBACK((kind<&TForm1::name>))}

const THandler kHandlers[] = {
    KORVA_HANDLER(FormCreate, "realize", OnNotify),
    KORVA_HANDLER(FormClose, "delete-event", OnClose),
    KORVA_HANDLER(Shape1Paint, "expose-event", OnPaint),
    KORVA_HANDLER(Shape4Paint, "expose-event", OnPaint),
    KORVA_HANDLER(calira, "expose-event", OnPaint),
    KORVA_HANDLER(Shape2Paint, "expose-event", OnPaint),
    KORVA_HANDLER(Shape1ChangeBounds, "size-allocate", OnChangeBounds),
    KORVA_HANDLER(Shape2ChangeBounds, "size-allocate", OnChangeBounds),
    KORVA_HANDLER(Shape3ChangeBounds, "size-allocate", OnChangeBounds),
    KORVA_HANDLER(Button1Click, "clicked", OnNotify),
    KORVA_HANDLER(Button2Click, "clicked", OnNotify),
    KORVA_HANDLER(Button4Click, "clicked", OnNotify),
    KORVA_HANDLER(Button5Click, "clicked", OnNotify),
    KORVA_HANDLER(Button6Click, "clicked", OnNotify),
    KORVA_HANDLER(ComboBox1Change, "changed", OnNotify),
    KORVA_HANDLER(RadioButton1Change, "toggled", OnNotify),
    KORVA_HANDLER(RadioButton3Change, "toggled", OnNotify),
    KORVA_HANDLER(RadioButton4Change, "toggled", OnNotify),
    KORVA_HANDLER(RadioButton5Change, "toggled", OnNotify),
    KORVA_HANDLER(RadioButton6Change, "toggled", OnNotify),
    KORVA_HANDLER(RadioButton7Change, "toggled", OnNotify),
    KORVA_HANDLER(CheckBox3Change, "toggled", OnNotify),
    KORVA_HANDLER(CheckBox2Change, "toggled", OnNotify),
    KORVA_HANDLER(RadioGroup1Click, "clicked", OnNotify),
    KORVA_HANDLER(UpDown1Click, "click", OnUpDownClick),
};

#undef KORVA_HANDLER

struct TBinding {
  TForm1* form;
  std::string fault;
};

void BindOne(GtkBuilder*, GObject* object, const gchar* signal, const gchar* handler, GObject*,
             GConnectFlags flags, gpointer data) {
  auto* binding = static_cast<TBinding*>(data);
  for (const THandler& known : kHandlers) {
    if (std::strcmp(known.name, handler) != 0) continue;
    if (std::strcmp(known.signal, signal) == 0) {
      g_signal_connect_data(object, signal, known.callback, binding->form, nullptr,
                            static_cast<GConnectFlags>(flags & G_CONNECT_AFTER));
      return;
    }
    if (binding->fault.empty())
      binding->fault = std::string("the layout binds ") + signal + " to " + handler +
                       ", which handles " + known.signal;
    return;
  }
  if (binding->fault.empty())
    binding->fault = std::string("the layout binds ") + signal + " to unknown handler " + handler;
}

}  // namespace

void BindHandlers(const Glib::RefPtr<Gtk::Builder>& layout, TForm1& form) {
  TBinding binding{&form, {}};
  gtk_builder_connect_signals_full(layout->gobj(), BindOne, &binding);
  if (!binding.fault.empty()) throw std::invalid_argument(binding.fault);
}
