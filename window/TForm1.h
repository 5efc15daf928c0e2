#pragma once
// The one main window. It holds the references to its controls and the
// handlers the layout binds to their events; the layout itself is data
// (Form1.ui), loaded when the window is built.

#include <gtkmm/builder.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/comboboxentry.h>
#include <gtkmm/entry.h>
#include <gtkmm/fixed.h>
#include <gtkmm/frame.h>
#include <gtkmm/label.h>
#include <gtkmm/radiobutton.h>
#include <gtkmm/window.h>

#include <memory>

#include "CommandRunner.h"
#include "CommandSequence.h"
#include "ConfigBlock.h"
#include "TColor.h"
#include "TPortState.h"
#include "TSettings.h"
#include "TUpDown.h"

class TApplication;

// Which arrow of the up-down control made a step.
enum class TUDBtnType { btNext, btPrev };

class TForm1 {
 public:
  // Makes the window object, sets Form1 to it, then builds the window from
  // its stored layout and runs FormCreate.
  static std::unique_ptr<TForm1> Create(TApplication& application);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  Gtk::Window& Window() { return *window_; }
  Gtk::Widget& FirstFocus() { return *Edit1; }
  TApplication& Application() { return application_; }
  int UpDownPosition() const;
  // The voltage `Label9` shows for a position in tenths of a volt.
  static std::string VoltageText(int tenths);

  // Controls, in the order the layout creates them.
  Gtk::Widget *Shape2 = nullptr, *Shape5 = nullptr, *Shape4 = nullptr, *Shape3 = nullptr;
  Gtk::Label *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr,
             *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr;
  Gtk::Widget* Shape1 = nullptr;
  Gtk::Label *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr;
  Gtk::Entry *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr;
  Gtk::CheckButton* CheckBox1 = nullptr;
  Gtk::Button *Button1 = nullptr, *Button2 = nullptr;
  Gtk::ComboBoxEntry* ComboBox1 = nullptr;
  Gtk::Entry *Edit4 = nullptr, *Edit5 = nullptr;
  Gtk::Button *Button4 = nullptr, *Button5 = nullptr, *Button6 = nullptr;
  Gtk::Frame* RadioGroup2 = nullptr;
  Gtk::RadioButton *RadioButton3 = nullptr, *RadioButton4 = nullptr, *RadioButton5 = nullptr,
                   *RadioButton6 = nullptr, *RadioButton7 = nullptr, *RadioButton1 = nullptr;
  TUpDown* UpDown1 = nullptr;
  Gtk::Entry* Edit6 = nullptr;
  Gtk::CheckButton* CheckBox3 = nullptr;

  // The tracker's port: the commands take its line afresh for every byte.
  TPortState PortState;

  // Handlers bound by the layout.
  void FormCreate(Gtk::Widget* Sender);
  void FormClose(Gtk::Widget* Sender);
  void Shape1Paint(Gtk::Widget* Sender);
  void Shape4Paint(Gtk::Widget* Sender);
  void calira(Gtk::Widget* Sender);
  void Shape1ChangeBounds(Gtk::Widget* Sender);
  void Shape2ChangeBounds(Gtk::Widget* Sender);
  void Shape3ChangeBounds(Gtk::Widget* Sender);
  void Button1Click(Gtk::Widget* Sender);
  void Button2Click(Gtk::Widget* Sender);
  void Button4Click(Gtk::Widget* Sender);
  void Button5Click(Gtk::Widget* Sender);
  void Button6Click(Gtk::Widget* Sender);
  void ComboBox1Change(Gtk::Widget* Sender);
  void RadioButton1Change(Gtk::Widget* Sender);
  void RadioButton3Change(Gtk::Widget* Sender);
  void RadioButton4Change(Gtk::Widget* Sender);
  void RadioButton5Change(Gtk::Widget* Sender);
  void RadioButton6Change(Gtk::Widget* Sender);
  void RadioButton7Change(Gtk::Widget* Sender);
  void CheckBox3Change(Gtk::Widget* Sender);
  void UpDown1Click(Gtk::Widget* Sender, TUDBtnType Button);
  // Bound to nothing; kept empty.
  void CheckBox2Change(Gtk::Widget* Sender);
  void RadioGroup1Click(Gtk::Widget* Sender);
  void Shape2Paint(Gtk::Widget* Sender);

 private:
  explicit TForm1(TApplication& application);
  void PaintAnalogLamp(TColor colour);
  // The entries korva.ini stores take no line break, however text comes in.
  void KeepStoredEntriesOnOneLine();
  // korva.ini into the controls, and the controls into korva.ini.
  void LoadSettings();
  void StoreSettings();
  void ShowSettings(const TSettings& settings, std::size_t lines);
  TSettings CurrentSettings() const;
  // The port list's rows as the devices present make them.
  void FillPortList();
  void SetPortRowText(int row, const std::string& text);
  // Opens `device` and names it, or what went wrong, on the status line.
  void OpenTrackerPort(const std::string& device);
  // The status line's report of the port, in white.
  void ShowPortStatus(const std::string& text);
  // The head of every command: with no device open it shows the box
  // "Select a COM-Port." and returns true, and the command must end.
  // "Write Conf." first lists the serial ports on the status line.
  bool NoPortGuard(bool listPortsFirst = false);
  void Build();
  void FindControls();
  // The commands: the guard, the lamp lit, the event step, the bytes, the
  // lamp grey; a device that refuses a byte ends the command.
  void RunTrackerCommand(int lampY, TColor lit, const CommandSequence& command);
  CommandOutcome RunOnPort(const CommandSequence& command);
  void EndStoppedCommand(const CommandOutcome& outcome);
  void PaintCommandLampsGrey();
  // The entries the configuration block is made from, as they stand now.
  ConfigEntries CurrentEntries() const;

  TApplication& application_;
  Glib::RefPtr<Gtk::Builder> layout_;
  Gtk::Window* window_ = nullptr;
};

// The one main window, set before anything of it is built.
extern TForm1* Form1;
