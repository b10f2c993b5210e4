// The printer: a document of pages drawn on a platform canvas. With no printer installed (or
// with an output file set) the document is written to a PDF file.
#pragma once

#include <memory>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Types.h"

namespace zel {

class TCanvas;

class EPrinter : public Exception {
 public:
  explicit EPrinter(String Msg) : Exception(std::move(Msg)) {}
};

inline const char* const SNotPrinting = "Printing not in progress";
inline const char* const SPrinting = "Printing in progress";
inline const char* const SCannotPrint = "Cannot start printing to %s";

enum class TPrinterOrientation { poPortrait, poLandscape };

class TPrinter : public TObject {
  ZEL_CLASS(TPrinter, TObject)
 public:
  TPrinter();
  ~TPrinter() override;

  // BeginDoc opens a document (EPrinter SPrinting when one is open, SCannotPrint when the
  // output cannot be opened); EndDoc finishes and writes it; NewPage starts the next page.
  // EndDoc and NewPage raise EPrinter SNotPrinting without a document.
  virtual void BeginDoc();
  virtual void EndDoc();
  virtual void NewPage();
  // Abandons the open document (a PDF file being written is removed); nothing without one.
  virtual void Abort();
  bool GetPrinting() const;
  bool GetAborted() const { return FAborted; }

  // The canvas of the current page; EPrinter SNotPrinting without a document.
  virtual TCanvas* GetCanvas();
  // The printable area in printer pixels (DPI dots per inch).
  virtual int GetPageWidth() const;
  virtual int GetPageHeight() const;
  int GetPageNumber() const { return FPageNumber; }
  int GetDPI() const { return FDPI; }
  // 72 to 2400 dots per inch; EPrinter SPrinting while a document is open.
  void SetDPI(int V);
  TPrinterOrientation GetOrientation() const { return FOrientation; }
  // EPrinter SPrinting while a document is open.
  virtual void SetOrientation(TPrinterOrientation V);
  const String& GetTitle() const { return FTitle; }
  void SetTitle(const String& V) { FTitle = V; }
  // The PDF file written when there is no printer. Empty: "<Title or document>.pdf" in the
  // user's documents folder. Setting a name sends the output to the file also when a printer
  // exists.
  const String& GetFileName() const { return FFileName; }
  void SetFileName(const String& V) { FFileName = V; }
  // The file the next (or open) document goes to; empty when it goes to a printer.
  String GetOutputFileName() const;

  struct TImpl;

 private:
  std::unique_ptr<TImpl> FImpl;
  int FDPI = 300;
  int FPageNumber = 0;
  bool FAborted = false;
  TPrinterOrientation FOrientation = TPrinterOrientation::poPortrait;
  String FTitle;
  String FFileName;
};

// The process's printer, created on first use.
TPrinter* Printer();
// Replaces the process's printer (tests install their own); returns the previous one, which
// the caller then owns. nullptr makes the next Printer() create a new default printer.
TPrinter* SetPrinter(TPrinter* NewPrinter);

}  // namespace zel
