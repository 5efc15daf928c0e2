#include "TForm1.h"

#include "HandlerBinding.h"
#include "Indicators.h"
#include "PanelPainting.h"
#include "PanelSurface.h"
#include "StoredLayout.h"
#include "TApplication.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TApplication& application) : application_(application) {}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
  delete window_;
}

std::unique_ptr<TForm1> TForm1::Create(TApplication& application) {
  std::unique_ptr<TForm1> form(new TForm1(application));
  Form1 = form.get();
  form->Build();
  return form;
}

void TForm1::Build() {
  layout_ = LoadStoredLayout("TForm1");
  FindControl(layout_, "Form1", window_);
  FindControls();
  KeepStoredEntriesOnOneLine();
  ApplyAppearance(layout_, *window_);
  Gtk::Container* client = nullptr;
  FindControl(layout_, "Form1Client", client);
  ApplyTabOrder(layout_, *client);
  BindHandlers(layout_, *this);
  // Realising the window runs FormCreate, bound to it in the layout; from
  // then on the handlers of the interval buttons and "THRESH." run.
  gtk_widget_realize(GTK_WIDGET(window_->gobj()));
  // A title bar with the window menu and a close button, no minimise or
  // maximise; the user may still move and resize the window.
  Glib::RefPtr<Gdk::Window> frame = window_->get_window();
  frame->set_functions(Gdk::FUNC_MOVE | Gdk::FUNC_RESIZE | Gdk::FUNC_CLOSE);
  frame->set_decorations(Gdk::DECOR_BORDER | Gdk::DECOR_RESIZEH | Gdk::DECOR_TITLE |
                         Gdk::DECOR_MENU);
}

void TForm1::FindControls() {
  FindControl(layout_, "Shape2", Shape2);
  FindControl(layout_, "Shape5", Shape5);
  FindControl(layout_, "Shape4", Shape4);
  FindControl(layout_, "Shape3", Shape3);
  FindControl(layout_, "Label1", Label1);
  FindControl(layout_, "Label2", Label2);
  FindControl(layout_, "Label3", Label3);
  FindControl(layout_, "Label4", Label4);
  FindControl(layout_, "Label5", Label5);
  FindControl(layout_, "Label6", Label6);
  FindControl(layout_, "Label7", Label7);
  FindControl(layout_, "Shape1", Shape1);
  FindControl(layout_, "Label8", Label8);
  FindControl(layout_, "Label9", Label9);
  FindControl(layout_, "Label10", Label10);
  FindControl(layout_, "Edit1", Edit1);
  FindControl(layout_, "Edit2", Edit2);
  FindControl(layout_, "Edit3", Edit3);
  FindControl(layout_, "CheckBox1", CheckBox1);
  FindControl(layout_, "Button1", Button1);
  FindControl(layout_, "Button2", Button2);
  FindControl(layout_, "ComboBox1", ComboBox1);
  FindControl(layout_, "Edit4", Edit4);
  FindControl(layout_, "Edit5", Edit5);
  FindControl(layout_, "Button4", Button4);
  FindControl(layout_, "Button5", Button5);
  FindControl(layout_, "Button6", Button6);
  FindControl(layout_, "RadioGroup2", RadioGroup2);
  FindControl(layout_, "RadioButton3", RadioButton3);
  FindControl(layout_, "RadioButton4", RadioButton4);
  FindControl(layout_, "RadioButton5", RadioButton5);
  FindControl(layout_, "RadioButton6", RadioButton6);
  FindControl(layout_, "RadioButton7", RadioButton7);
  FindControl(layout_, "RadioButton1", RadioButton1);
  Gtk::Widget* upDown = nullptr;
  FindControl(layout_, "UpDown1", upDown);
  UpDown1 = T_UP_DOWN(upDown->gobj());
  FindControl(layout_, "Edit6", Edit6);
  FindControl(layout_, "CheckBox3", CheckBox3);
}

int TForm1::UpDownPosition() const {
  return static_cast<int>(gtk_adjustment_get_value(t_up_down_get_adjustment(UpDown1)));
}

// The port list is filled before korva.ini is read.
void TForm1::FormCreate(Gtk::Widget*) {
  FillPortList();
  LoadSettings();
}

// korva.ini is written before the port is closed.
void TForm1::FormClose(Gtk::Widget*) {
  StoreSettings();
  PortState.Close();
}

void TForm1::Shape1Paint(Gtk::Widget*) { PaintCommandLampsGrey(); }

// The lamp shows whether a beacon goes out: after the window is uncovered or
// first shown it must agree with what Write Conf. would send.
void TForm1::Shape4Paint(Gtk::Widget*) {
  DrawBeaconIndicator(kBeaconLampX, kBeaconLampY, RadioButton3->get_active() ? kGrey : kGreen);
}

void TForm1::calira(Gtk::Widget*) {
  DrawOnPanel(*Shape2, [](TCanvas& canvas, int width, int height) {
    DrawAnalogFrame(canvas, width, height);
  });
  PaintAnalogLamp(kGrey);
  if (CheckBox3->get_active()) PaintAnalogLamp(kGreen);
}

// The analog lamp stands at the middle of Shape2, whatever its size.
void TForm1::PaintAnalogLamp(TColor colour) {
  const TPanelSize size = PanelSize(*Shape2);
  DrawAnalogIndicator(size.width / 2 - 13, size.height / 2 - 18, colour);
}

// The interval handlers run for the button switched off and then for the one
// switched on, and do not ask which they are: the lamp ends in the colour of
// the button now checked.
void TForm1::RadioButton3Change(Gtk::Widget*) { DrawBeaconIndicator(kBeaconLampX, kBeaconLampY, kGrey); }
void TForm1::RadioButton4Change(Gtk::Widget*) { DrawBeaconIndicator(kBeaconLampX, kBeaconLampY, kGreen); }
void TForm1::RadioButton5Change(Gtk::Widget*) { DrawBeaconIndicator(kBeaconLampX, kBeaconLampY, kGreen); }
void TForm1::RadioButton6Change(Gtk::Widget*) { DrawBeaconIndicator(kBeaconLampX, kBeaconLampY, kGreen); }
void TForm1::RadioButton7Change(Gtk::Widget*) { DrawBeaconIndicator(kBeaconLampX, kBeaconLampY, kGreen); }
void TForm1::RadioButton1Change(Gtk::Widget*) { DrawBeaconIndicator(kBeaconLampX, kBeaconLampY, kGreen); }

void TForm1::CheckBox3Change(Gtk::Widget*) {
  const bool on = CheckBox3->get_active();
  gtk_widget_set_sensitive(GTK_WIDGET(UpDown1), on);
  PaintAnalogLamp(on ? kGreen : kGrey);
}

void TForm1::UpDown1Click(Gtk::Widget*, TUDBtnType) {
  Label9->set_text(" " + VoltageText(UpDownPosition()) + " V ");
}

// Tenths of a volt, always with a point whatever the locale: 0, 0.1, 2.5, 5.
std::string TForm1::VoltageText(int tenths) {
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
  return text;
}

void TForm1::Shape1ChangeBounds(Gtk::Widget*) {}
void TForm1::Shape2ChangeBounds(Gtk::Widget*) {}
void TForm1::Shape3ChangeBounds(Gtk::Widget*) {}
void TForm1::CheckBox2Change(Gtk::Widget*) {}
void TForm1::RadioGroup1Click(Gtk::Widget*) {}
void TForm1::Shape2Paint(Gtk::Widget*) {}
