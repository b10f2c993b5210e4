// The printer writing PDF files, and the clipboard.
#include <gtest/gtest.h>

#include "support/TempFiles.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/Printer.h"

namespace zel {
namespace {

String ReadFile(const String& Name) {
  std::ifstream In(Name, std::ios::binary);
  return String(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

bool Exists(const String& Name) { return std::ifstream(Name).good(); }

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    File = zeltest::UniqueTempPath(".pdf");
    std::remove(File.c_str());
    P.SetFileName(File);
  }
  void TearDown() override { std::remove(File.c_str()); }
  String File;
  TPrinter P;
};

TEST_F(PrinterTest, DocumentOfTwoPagesGoesToThePdfFile) {
  P.SetTitle("Chart");
  P.BeginDoc();
  EXPECT_TRUE(P.GetPrinting());
  EXPECT_EQ(P.GetPageNumber(), 1);
  TCanvas* C = P.GetCanvas();
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(C->GetWidth(), P.GetPageWidth());
  EXPECT_EQ(C->GetHeight(), P.GetPageHeight());
  C->GetFill()->SetColor(0xFF336699);
  C->FillRect(TRectF(0, 0, 100, 100), 0, 0, AllCorners, 1);
  P.NewPage();
  EXPECT_EQ(P.GetPageNumber(), 2);
  EXPECT_EQ(P.GetCanvas(), C);  // the same canvas draws every page
  C->FillRect(TRectF(10, 10, 50, 50), 0, 0, AllCorners, 1);
  P.EndDoc();
  EXPECT_FALSE(P.GetPrinting());
  String Pdf = ReadFile(File);
  ASSERT_GT(Pdf.size(), 5u);
  EXPECT_EQ(Pdf.substr(0, 5), "%PDF-");
  EXPECT_NE(Pdf.find("/Count 2"), String::npos);
}

TEST_F(PrinterTest, CallsOutsideADocumentRaise) {
  struct Case {
    const char* Name;
    std::function<void(TPrinter&)> Call;
    const char* Message;
  };
  const Case Closed[] = {
      {"EndDoc", [](TPrinter& Pr) { Pr.EndDoc(); }, SNotPrinting},
      {"NewPage", [](TPrinter& Pr) { Pr.NewPage(); }, SNotPrinting},
      {"Canvas", [](TPrinter& Pr) { Pr.GetCanvas(); }, SNotPrinting},
  };
  for (const Case& C : Closed) {
    SCOPED_TRACE(C.Name);
    try {
      C.Call(P);
      ADD_FAILURE() << "no exception";
    } catch (const EPrinter& E) {
      EXPECT_STREQ(E.what(), C.Message);
    }
  }
  P.BeginDoc();
  const Case Open[] = {
      {"BeginDoc", [](TPrinter& Pr) { Pr.BeginDoc(); }, SPrinting},
      {"Orientation", [](TPrinter& Pr) { Pr.SetOrientation(TPrinterOrientation::poLandscape); }, SPrinting},
      {"DPI", [](TPrinter& Pr) { Pr.SetDPI(600); }, SPrinting},
  };
  for (const Case& C : Open) {
    SCOPED_TRACE(C.Name);
    EXPECT_THROW(C.Call(P), EPrinter);
    EXPECT_TRUE(P.GetPrinting());
  }
  EXPECT_EQ(P.GetOrientation(), TPrinterOrientation::poPortrait);
  P.EndDoc();
}

TEST_F(PrinterTest, PageSizeFollowsOrientationAndResolution) {
  int W = P.GetPageWidth(), H = P.GetPageHeight();
  EXPECT_GT(W, 0);
  EXPECT_GT(H, W);
  P.SetOrientation(TPrinterOrientation::poLandscape);
  EXPECT_GT(P.GetPageWidth(), P.GetPageHeight());
  P.SetOrientation(TPrinterOrientation::poPortrait);
  P.SetDPI(P.GetDPI() * 2);
  EXPECT_NEAR(P.GetPageWidth(), 2 * W, 2);
  P.SetDPI(1);
  EXPECT_EQ(P.GetDPI(), 72);
  // The size while printing is the size asked before.
  int Expected = P.GetPageWidth();
  P.BeginDoc();
  EXPECT_EQ(P.GetPageWidth(), Expected);
  P.EndDoc();
}

TEST_F(PrinterTest, AbortRemovesThePartialFile) {
  P.BeginDoc();
  P.GetCanvas()->FillRect(TRectF(0, 0, 10, 10), 0, 0, AllCorners, 1);
  P.Abort();
  EXPECT_FALSE(P.GetPrinting());
  EXPECT_TRUE(P.GetAborted());
  EXPECT_FALSE(Exists(File));
  P.Abort();  // nothing open: nothing happens
  // The printer can print again afterwards.
  P.BeginDoc();
  EXPECT_FALSE(P.GetAborted());
  P.EndDoc();
  EXPECT_TRUE(Exists(File));
}

TEST_F(PrinterTest, UnwritableFileRaisesAndLeavesNoDocumentOpen) {
  P.SetFileName("/no/such/folder/out.pdf");
  EXPECT_THROW(P.BeginDoc(), EPrinter);
  EXPECT_FALSE(P.GetPrinting());
  EXPECT_THROW(P.GetCanvas(), EPrinter);
}

TEST(PrinterGlobal, ReplaceableForTests) {
  TPrinter* Mine = new TPrinter();
  TPrinter* Old = SetPrinter(Mine);
  EXPECT_EQ(Printer(), Mine);
  EXPECT_EQ(SetPrinter(Old), Mine);
  delete Mine;
  EXPECT_NE(Printer(), nullptr);
}

TEST(Clipboard, TextAndPictures) {
  Clipboard()->SetAsText("Zoom 110 %");
  EXPECT_TRUE(Clipboard()->HasText());
  EXPECT_EQ(Clipboard()->GetAsText(), "Zoom 110 %");

  TBitmap B(8, 6);
  B.Clear(0xFF102030);
  B.SetPixel(7, 5, 0xFFFF0000);
  Clipboard()->Assign(B);
  B.Clear(0xFFFFFFFF);  // later drawing does not reach the clipboard
  EXPECT_TRUE(Clipboard()->HasBitmap());
  TBitmap Out;
  ASSERT_TRUE(Clipboard()->GetBitmap(Out));
  EXPECT_EQ(Out.GetWidth(), 8);
  EXPECT_EQ(Out.GetHeight(), 6);
  EXPECT_EQ(Out.GetPixel(0, 0), 0xFF102030u);
  EXPECT_EQ(Out.GetPixel(7, 5), 0xFFFF0000u);

  // An empty picture clears the clipboard; reading then leaves the bitmap alone.
  Clipboard()->Assign(TBitmap());
  EXPECT_FALSE(Clipboard()->HasBitmap());
  EXPECT_FALSE(Clipboard()->GetBitmap(Out));
  EXPECT_EQ(Out.GetWidth(), 8);
  EXPECT_EQ(Clipboard()->GetAsText(), "");
}

}  // namespace
}  // namespace zel
