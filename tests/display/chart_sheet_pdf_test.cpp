// The chart sheet through the real program (solvane-chart --pdf), read back with poppler's pdfinfo,
// pdffonts and pdftotext: a well-formed PDF whose pages and text hold what the chart says.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "display/chart_sheet.h"
#include "display/chart_sheet_model.h"
#include "entry/sample.h"
#include "run/chart_run.h"
#include "run/engines.h"

namespace solvane::display {
namespace {

struct Ran {
  int status = -1;
  std::string out;  // standard output and standard error together
};

Ran Shell(const std::string& command) {
  Ran ran;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return ran;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) ran.out.append(buffer, n);
  const int raw = pclose(pipe);
  ran.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return ran;
}

std::string Quote(const std::string& text) { return "'" + text + "'"; }

std::string Chart(const std::string& flags) {
  return std::string("env LC_ALL=en_GB.UTF-8 ") + SOLVANE_CHART_EXE + " " + flags;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/chart_sheet_XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempFolder() {
    (void)!chmod(path_.c_str(), 0700);
    (void)!std::system(("rm -rf " + Quote(path_)).c_str());
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

// The headings of the sample's house report, from the report's own pieces.
std::vector<std::string> ReportHeadings(const std::string& engine) {
  core::ChartState state;
  ChartWindowModel window;
  const auto chosen = run::EngineNamed(engine);
  EXPECT_TRUE(chosen.has_value());
  EXPECT_TRUE(run::RunChart(entry::SampleBirth(), EnglishMonthName, state, window,
                            run::ReportText::kWrite, **chosen));
  std::vector<std::string> headings;
  for (const ReportParagraph& paragraph : ReportParagraphs(window.RTBHouseDesc)) {
    if (!paragraph.heading) continue;
    std::string text;
    for (const auto& run : paragraph.runs) text += run.text;
    headings.push_back(text);
  }
  return headings;
}

// A sheet written by the program, with what poppler reads from it.
struct Sheet {
  Ran written;
  std::string info, fonts, text, layout_text;
};

Sheet WriteSheet(const TempFolder& folder, const std::string& flags) {
  Sheet sheet;
  const std::string pdf = folder.File("sheet.pdf");
  sheet.written = Shell(Chart(flags + " --pdf " + Quote(pdf)));
  sheet.info = Shell("pdfinfo " + Quote(pdf)).out;
  sheet.fonts = Shell("pdffonts " + Quote(pdf)).out;
  sheet.text = Shell("pdftotext " + Quote(pdf) + " -").out;
  sheet.layout_text = Shell("pdftotext -layout " + Quote(pdf) + " -").out;
  return sheet;
}

int PageCount(const std::string& info) {
  const std::size_t at = info.find("Pages:");
  return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

// "05 Tau 07" or "05 Tau 07' 30\"" (the chart's short position) as the sheet writes it: the sign's
// name in its column and "05° 07'" or "05° 07' 30\"".
std::pair<std::string, std::string> SheetPosition(const std::string& short_text) {
  static const std::vector<std::pair<std::string, std::string>> kSigns = {
      {"Ari", "Aries"},       {"Tau", "Taurus"},    {"Gem", "Gemini"},   {"Can", "Cancer"},
      {"Leo", "Leo"},         {"Vir", "Virgo"},     {"Lib", "Libra"},    {"Sco", "Scorpio"},
      {"Sag", "Sagittarius"}, {"Cap", "Capricorn"}, {"Aqu", "Aquarius"}, {"Pis", "Pisces"}};
  std::string sign;
  for (const auto& [abbreviation, name] : kSigns)
    if (short_text.substr(3, 3) == abbreviation) sign = name;
  std::string degrees = short_text.substr(0, 2) + "° " + short_text.substr(7, 2) + "'";
  if (short_text.size() > 9) degrees += short_text.substr(10);  // " 30\""
  return {sign, degrees};
}

bool HasRow(const std::string& layout_text, const std::string& body, const std::string& sign,
            const std::string& degrees) {
  for (const std::string& line : Split(layout_text, '\n')) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos || line.compare(start, body.size() + 1, body + " ") != 0)
      continue;
    const std::size_t at_sign = line.find(" " + sign + " ");
    if (at_sign != std::string::npos && line.find(degrees, at_sign) != std::string::npos)
      return true;
  }
  return false;
}

class ChartSheetPdf : public ::testing::TestWithParam<const char*> {};

// The sample chart in both engines: the precise one writes seconds.
TEST_P(ChartSheetPdf, HoldsTheChartAndTheReport) {
  const std::string engine = GetParam();
  const std::string flags = "--sample --ephemeris " + engine;
  TempFolder folder;
  const Sheet sheet = WriteSheet(folder, flags);
  ASSERT_EQ(sheet.written.status, 0) << sheet.written.out;

  // Well formed, and every font embedded (pdffonts' "emb" column).
  EXPECT_NE(sheet.info.find("PDF version"), std::string::npos) << sheet.info;
  const std::vector<std::string> font_rows = Split(sheet.fonts, '\n');
  ASSERT_GT(font_rows.size(), 2u) << sheet.fonts;
  for (std::size_t i = 2; i < font_rows.size(); ++i)
    EXPECT_NE(font_rows[i].find(" yes "), std::string::npos) << "not embedded: " << font_rows[i];

  // Page 1 and the report's pages, each footed with its number and the web address.
  const int pages = PageCount(sheet.info);
  EXPECT_GE(pages, 2) << sheet.info;
  // The layout mode keeps each line whole (the plain mode joins a line ending in "-" to the next).
  const std::vector<std::string> page_texts = Split(sheet.layout_text, '\f');
  ASSERT_GE(static_cast<int>(page_texts.size()), pages);
  for (int p = 1; p <= pages; ++p) {
    const std::string& page = page_texts[static_cast<std::size_t>(p - 1)];
    const std::string number = "Page " + std::to_string(p) + " of " + std::to_string(pages);
    EXPECT_NE(page.find(number), std::string::npos) << "page " << p;
    EXPECT_NE(page.find("https://www.solvane.app"), std::string::npos) << "page " << p;
  }

  // The birth data, as the text output of the same chart gives it.
  const std::string& first = page_texts[0];
  for (const char* expected :
       {"SAMPLE CHART", "15 August 1980", "06:30", "Indian Time, IST", "New Delhi, Delhi, India",
        "28° 36' N", "77° 13' E", "Birth chart (D1)", "Navamsa (D9)", "Balance at birth"})
    EXPECT_NE(first.find(expected), std::string::npos) << expected;

  // Every body's position, from the program's JSON output of the same chart.
  const auto json = nlohmann::json::parse(Shell(Chart(flags + " --format json")).out);
  const auto& positions = json.at("PositionStrings");
  ASSERT_EQ(positions.size(), 14u);
  for (int i = 0; i < 14; ++i) {
    const auto [sign, degrees] = SheetPosition(positions[i].get<std::string>());
    const std::string body(core::kBodyNames[i]);
    EXPECT_TRUE(HasRow(sheet.layout_text, body, sign, degrees))
        << body << " " << sign << " " << degrees;
  }

  // The report's headings, in order, after page 1.
  const std::vector<std::string> headings = ReportHeadings(engine);
  ASSERT_FALSE(headings.empty());
  const std::size_t report_start = first.size();
  std::size_t at = sheet.layout_text.find("House report", report_start);
  ASSERT_NE(at, std::string::npos);
  for (const std::string& heading : headings) {
    at = sheet.layout_text.find(heading, at);
    ASSERT_NE(at, std::string::npos) << "missing or out of order: " << heading;
    at += heading.size();
  }
  // A heading never ends its page: something of its paragraph follows it there.
  for (int p = 1; p < pages; ++p) {
    std::string page = page_texts[static_cast<std::size_t>(p)];
    const std::size_t footer = page.rfind("https://www.solvane.app");
    std::vector<std::string> lines = Split(page.substr(0, footer), '\n');
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    ASSERT_FALSE(lines.empty());
    const std::size_t start = lines.back().find_first_not_of(' ');
    const std::string last = start == std::string::npos ? "" : lines.back().substr(start);
    for (const std::string& heading : headings)
      EXPECT_NE(last, heading) << "page " << p + 1 << " ends with its heading";
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, ChartSheetPdf, ::testing::Values("classic", "precise"));

TEST(ChartSheetPdfStyles, EveryStyleDrawsTheChartAndItsNavamsa) {
  for (const char* style : {"wheel", "south", "north", "east"}) {
    TempFolder folder;
    const Sheet sheet = WriteSheet(folder, std::string("--sample --chart-style ") + style);
    ASSERT_EQ(sheet.written.status, 0) << style << ": " << sheet.written.out;
    const std::string first = Split(sheet.text, '\f').front();
    EXPECT_NE(first.find("Birth chart (D1)"), std::string::npos) << style;
    EXPECT_NE(first.find("Navamsa (D9)"), std::string::npos) << style;
  }
}

TEST(ChartSheetPdfPaper, LetterOrA4FromTheLocale) {
  struct Case {
    const char* locale;
    const char* want;  // as pdfinfo names the page size
  };
  // The program reads the locale from the environment, whether or not the system has it built.
  const Case cases[] = {{"fr_CA.UTF-8", "(letter)"}, {"hi_IN.UTF-8", "(A4)"}};
  for (const Case& c : cases) {
    TempFolder folder;
    const std::string pdf = folder.File("paper.pdf");
    const Ran ran = Shell(std::string("env LC_ALL=") + c.locale + " " + SOLVANE_CHART_EXE +
                          " --sample --pdf " + Quote(pdf));
    ASSERT_EQ(ran.status, 0) << ran.out;
    EXPECT_NE(Shell("pdfinfo " + Quote(pdf)).out.find(c.want), std::string::npos) << c.locale;
  }
}

TEST(ChartSheetPaperSize, TerritoriesThatUseLetter) {
  // CLDR's paper sizes: Letter in North America and parts of Latin America and Asia.
  EXPECT_EQ(SheetPageSize(QLocale(QLocale::English, QLocale::UnitedStates)), QPageSize::Letter);
  EXPECT_EQ(SheetPageSize(QLocale(QLocale::Spanish, QLocale::Mexico)), QPageSize::Letter);
  EXPECT_EQ(SheetPageSize(QLocale(QLocale::Filipino, QLocale::Philippines)), QPageSize::Letter);
  EXPECT_EQ(SheetPageSize(QLocale(QLocale::English, QLocale::UnitedKingdom)), QPageSize::A4);
  EXPECT_EQ(SheetPageSize(QLocale(QLocale::Spanish, QLocale::Spain)), QPageSize::A4);
  EXPECT_EQ(SheetPageSize(QLocale::c()), QPageSize::A4);
}

TEST(ChartSheetPdfFailures, AFailedWriteLeavesTheOldFileAndSaysSo) {
  TempFolder folder;
  const std::string kept = "an older sheet\n";
  struct Case {
    const char* why;
    std::string target;
    bool make_file;
    mode_t file_mode, folder_mode;
  };
  const std::string locked = folder.path() + "/locked";
  const Case cases[] = {
      {"a read-only file", folder.File("read-only.pdf"), true, 0444, 0700},
      {"a folder that takes no new files", locked + "/sheet.pdf", true, 0644, 0555},
      {"a folder of that name", folder.File("taken.pdf"), false, 0, 0700},
      {"a folder that does not exist", folder.File("no/such/sheet.pdf"), false, 0, 0700},
  };
  ASSERT_EQ(mkdir(locked.c_str(), 0700), 0);
  ASSERT_EQ(mkdir(folder.File("taken.pdf").c_str(), 0700), 0);
  for (const Case& c : cases) {
    if (c.make_file) {
      std::ofstream(c.target) << kept;
      ASSERT_EQ(chmod(c.target.c_str(), c.file_mode), 0) << c.why;
    }
    if (c.folder_mode == 0555) {
      ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
      // The superuser writes into any folder: the case cannot fail for it.
      if (access(locked.c_str(), W_OK) == 0) {
        ASSERT_EQ(chmod(locked.c_str(), 0700), 0);
        continue;
      }
    }
    const Ran ran = Shell(Chart("--sample --pdf " + Quote(c.target)));
    EXPECT_EQ(ran.status, 1) << c.why << ": " << ran.out;
    EXPECT_NE(ran.out.find("--pdf: "), std::string::npos) << c.why << ": " << ran.out;
    if (c.make_file)
      EXPECT_EQ(Slurp(c.target), kept) << c.why;
    else
      EXPECT_EQ(Slurp(c.target), "") << c.why;
    ASSERT_EQ(chmod(locked.c_str(), 0700), 0);
  }
}

TEST(ChartSheetPdfFailures, BatchIsRefused) {
  TempFolder folder;
  const Ran ran = Shell(Chart("--batch - --pdf " + Quote(folder.File("x.pdf")) + " < /dev/null"));
  EXPECT_EQ(ran.status, 2) << ran.out;
  EXPECT_NE(ran.out.find("--pdf and --batch cannot go together"), std::string::npos) << ran.out;
  EXPECT_EQ(Slurp(folder.File("x.pdf")), "");
}

}  // namespace
}  // namespace solvane::display
