// The about box and the exit screen: their texts, where their links lead, and how they close.
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <memory>

#include "core/links.h"
#include "shell/about_box.h"
#include "shell/exit_screen.h"
#include "shell/two_scales.h"
#include "widgets/url_opener.h"

namespace solvane::shell {
namespace {

class RecordingOpener final : public UrlOpener {
 public:
  void Open(const QString& address) override { opened.append(address); }
  using UrlOpener::Open;
  QStringList opened;
};

QString Address(LinkTarget target) {
  const std::string_view address = LinkAddress(target);
  return QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
}

// The value of one field of a mailto: query, decoded; a null string when the field is missing.
QString MailtoField(const QString& url, const QString& name) {
  const qsizetype query_start = url.indexOf(u'?');
  if (query_start < 0) return {};
  for (const QString& pair : url.mid(query_start + 1).split(u'&')) {
    if (pair.startsWith(name + u'='))
      return QUrl::fromPercentEncoding(pair.mid(name.size() + 1).toLatin1());
  }
  return {};
}

// Either window, built the same way for table-driven tests that run over both.
std::unique_ptr<QWidget> MakeWindow(const QString& which, UrlOpener& opener) {
  if (which == u"frmAbout") return std::make_unique<AboutBox>(opener);
  return std::make_unique<ExitScreen>(opener);
}

// Rows of the tables below; the columns are declared by each _data function.
void TextRow(const char* row, const char* name, const QString& text) {
  QTest::newRow(row) << QString::fromLatin1(name) << text;
}

void LinkRow(const char* row, const char* window, const char* name, LinkTarget target) {
  QTest::newRow(row) << QString::fromLatin1(window) << QString::fromLatin1(name) << Address(target);
}

template <typename T>
T* Child(QWidget& window, const char* name) {
  return window.findChild<T*>(QString::fromLatin1(name));
}

}  // namespace

class AboutExitTest : public QObject {
  Q_OBJECT

 private slots:
  void AboutBoxIsModalAndTitled();
  void AboutBoxTexts_data();
  void AboutBoxTexts();
  void AboutDescriptionBeginsWithPurposeAndEndsWithRights();
  void AboutIconIsRenderedForTheScreen();

  void LinkLeftClickOpensItsPage_data();
  void LinkLeftClickOpensItsPage();
  void LinkRightClickOpensNothing_data();
  void LinkRightClickOpensNothing();
  void WrappedTextIsNeverCut_data();
  void WrappedTextIsNeverCut();

  void OpensOnScreenWithItsButtonsInView_data();
  void OpensOnScreenWithItsButtonsInView();
  void TabOrderFollowsReadingOrder_data();
  void TabOrderFollowsReadingOrder();
  void AboutOkClosesAndAccepts();
  void AboutReturnPressesOk();
  void AboutEscapeCloses();

  void ExitScreenTexts_data();
  void ExitScreenTexts();
  void ExitScreenIsItsOwnWindowEvenWithAParent();
  void RecommendOpensOneMailtoNamingTheHomePage();
  void ExitScreenClosesOnceWhicheverWay_data();
  void ExitScreenClosesOnceWhicheverWay();
  void ExitScreenShownAgainReportsItsNextClose();
};

void AboutExitTest::AboutBoxIsModalAndTitled() {
  RecordingOpener opener;
  AboutBox box(opener);
  QCOMPARE(box.objectName(), QStringLiteral("frmAbout"));
  QCOMPARE(box.windowTitle(), QStringLiteral("Solvane v1.15"));
  QVERIFY(box.isModal());
  QVERIFY(opener.opened.isEmpty());
}

void AboutExitTest::AboutBoxTexts_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("text");
  TextRow("title", "Label2", QStringLiteral("Solvane v1.15"));
  TextRow("home page", "lblHomePage",
          QStringLiteral("Click here to visit ") + Address(LinkTarget::HomePage));
  TextRow("co-brand", "lblCoBrand", QStringLiteral("Click here for more details."));
}

void AboutExitTest::AboutBoxTexts() {
  QFETCH(QString, name);
  QFETCH(QString, text);
  RecordingOpener opener;
  AboutBox box(opener);
  const auto* label = box.findChild<QLabel*>(name);
  QVERIFY2(label != nullptr, qPrintable(name));
  QCOMPARE(label->text(), text);

  const auto* ok = Child<QPushButton>(box, "cmdOK");
  QVERIFY(ok != nullptr);
  QCOMPARE(ok->text(), QStringLiteral("OK"));
  const auto* branding = Child<QLabel>(box, "Label3");
  QVERIFY(branding != nullptr);
  QVERIFY(!branding->text().trimmed().isEmpty());
}

void AboutExitTest::AboutDescriptionBeginsWithPurposeAndEndsWithRights() {
  const QString purpose = QStringLiteral(
      "Solvane shows the positions of the planets in the twelve houses in your natal chart. The "
      "distribution of the planets in the different houses play an important role in "
      "interpreting the birth chart of an individual.");
  RecordingOpener opener;
  AboutBox box(opener);
  const auto* description = Child<QLabel>(box, "Label1");
  QVERIFY(description != nullptr);
  const QString text = description->text();
  QVERIFY2(text.startsWith(purpose), qPrintable(text));
  const QString rights = text.mid(purpose.size()).trimmed();
  QVERIFY2(rights.contains(QStringLiteral("Solvane")), qPrintable(rights));
  QVERIFY2(rights.contains(QStringLiteral("rights reserved")), qPrintable(rights));
}

void AboutExitTest::AboutIconIsRenderedForTheScreen() {
  RecordingOpener opener;
  AboutBox box(opener);
  box.show();
  const auto* icon = Child<QLabel>(box, "picIcon");
  QVERIFY(icon != nullptr);
  const QPixmap pixmap = icon->pixmap();
  QVERIFY2(!pixmap.isNull(), "the icon resource did not load");
  // A pixmap of a lower ratio than the screen's is scaled up and looks blurred.
  QVERIFY2(pixmap.devicePixelRatio() >= icon->devicePixelRatioF(),
           qPrintable(QStringLiteral("pixmap ratio %1, screen ratio %2")
                          .arg(pixmap.devicePixelRatio())
                          .arg(icon->devicePixelRatioF())));
  QCOMPARE(pixmap.width(),
           qRound(pixmap.deviceIndependentSize().width() * pixmap.devicePixelRatio()));
}

void AboutExitTest::LinkLeftClickOpensItsPage_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("address");
  LinkRow("about home page", "frmAbout", "lblHomePage", LinkTarget::HomePage);
  LinkRow("about co-brand", "frmAbout", "lblCoBrand", LinkTarget::CoBrandPage);
  LinkRow("exit more programs", "frmExit", "lblMorePrograms", LinkTarget::HomePage);
  LinkRow("exit own brand", "frmExit", "lblFullBrand", LinkTarget::FullBrandPage);
}

void AboutExitTest::LinkLeftClickOpensItsPage() {
  QFETCH(QString, window);
  QFETCH(QString, name);
  QFETCH(QString, address);
  RecordingOpener opener;
  const std::unique_ptr<QWidget> w = MakeWindow(window, opener);
  w->show();
  auto* link = w->findChild<QLabel*>(name);
  QVERIFY2(link != nullptr, qPrintable(name));
  QTest::mouseClick(link, Qt::LeftButton);
  QCOMPARE(opener.opened, QStringList{address});
  QVERIFY2(w->isVisible(), "opening a page must leave the window as it was");
}

void AboutExitTest::LinkRightClickOpensNothing_data() { LinkLeftClickOpensItsPage_data(); }

void AboutExitTest::LinkRightClickOpensNothing() {
  QFETCH(QString, window);
  QFETCH(QString, name);
  RecordingOpener opener;
  const std::unique_ptr<QWidget> w = MakeWindow(window, opener);
  w->show();
  auto* link = w->findChild<QLabel*>(name);
  QVERIFY2(link != nullptr, qPrintable(name));
  QTest::mouseClick(link, Qt::RightButton);
  QTest::mouseClick(link, Qt::MiddleButton);
  QCOMPARE(opener.opened, QStringList{});
}

void AboutExitTest::WrappedTextIsNeverCut_data() {
  QTest::addColumn<QString>("window");
  QTest::newRow("about box") << QStringLiteral("frmAbout");
  QTest::newRow("exit screen") << QStringLiteral("frmExit");
}

// Wrapped labels in a fixed-size window are where text goes missing: the layout may size the
// window for one line width and the label then needs more lines than it was given.
void AboutExitTest::WrappedTextIsNeverCut() {
  QFETCH(QString, window);
  RecordingOpener opener;
  const std::unique_ptr<QWidget> w = MakeWindow(window, opener);
  w->show();
  QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  const QList<QLabel*> labels = w->findChildren<QLabel*>();
  QVERIFY(!labels.isEmpty());
  for (const QLabel* label : labels) {
    const QString what = label->objectName();
    QVERIFY2(label->isVisible(), qPrintable(what));
    // Inside the window's content (which scrolls on a screen too small for it).
    QVERIFY2(label->parentWidget()->rect().contains(label->geometry()),
             qPrintable(what + QStringLiteral(" lies outside the window's content")));
    if (label->wordWrap()) {
      QVERIFY2(label->height() >= label->heightForWidth(label->width()),
               qPrintable(what + QStringLiteral(" is shorter than its text")));
    } else {
      QVERIFY2(label->width() >= label->sizeHint().width(),
               qPrintable(what + QStringLiteral(" is narrower than its text")));
    }
  }
}

void AboutExitTest::OpensOnScreenWithItsButtonsInView_data() {
  QTest::addColumn<QString>("window");
  QTest::newRow("about box") << QStringLiteral("frmAbout");
  QTest::newRow("exit screen") << QStringLiteral("frmExit");
}

// At 200% the offscreen screen is 400 x 300 logical pixels, smaller than either window's text:
// the window must still open inside the screen, its text scrolling and its buttons in view.
void AboutExitTest::OpensOnScreenWithItsButtonsInView() {
  QFETCH(QString, window);
  RecordingOpener opener;
  const std::unique_ptr<QWidget> w = MakeWindow(window, opener);
  w->show();
  QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  const QRect available = w->screen()->availableGeometry();
  QVERIFY2(available.contains(w->geometry()),
           qPrintable(QStringLiteral("window %1,%2 %3x%4 on a screen of %5x%6")
                          .arg(w->x())
                          .arg(w->y())
                          .arg(w->width())
                          .arg(w->height())
                          .arg(available.width())
                          .arg(available.height())));
  const QList<QPushButton*> buttons = w->findChildren<QPushButton*>();
  QVERIFY(!buttons.isEmpty());
  for (const QPushButton* button : buttons) {
    const QRect in_window(button->mapTo(w.get(), QPoint(0, 0)), button->size());
    QVERIFY2(button->isVisible() && w->rect().contains(in_window),
             qPrintable(button->objectName() + QStringLiteral(" is out of view")));
  }
}

void AboutExitTest::TabOrderFollowsReadingOrder_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QStringList>("order");
  QTest::newRow("about box") << QStringLiteral("frmAbout")
                             << QStringList{"lblHomePage", "lblCoBrand", "cmdOK"};
  QTest::newRow("exit screen") << QStringLiteral("frmExit")
                               << QStringList{"lblMorePrograms", "lblFullBrand", "cmdRecommend",
                                              "cmdClose"};
}

void AboutExitTest::TabOrderFollowsReadingOrder() {
  QFETCH(QString, window);
  QFETCH(QStringList, order);
  RecordingOpener opener;
  const std::unique_ptr<QWidget> w = MakeWindow(window, opener);
  w->show();
  QWidget* const start = w->findChild<QWidget*>(order.front());
  QVERIFY(start != nullptr);
  QStringList tab_stops;
  QWidget* stop = start;
  do {
    if ((stop->focusPolicy() & Qt::TabFocus) && stop->isVisible())
      tab_stops.append(stop->objectName());
    stop = stop->nextInFocusChain();
  } while (stop != start);
  QCOMPARE(tab_stops, order);
}

void AboutExitTest::AboutOkClosesAndAccepts() {
  RecordingOpener opener;
  AboutBox box(opener);
  box.open();
  QVERIFY(box.isVisible());
  auto* ok = Child<QPushButton>(box, "cmdOK");
  QVERIFY(ok != nullptr);
  QTest::mouseClick(ok, Qt::LeftButton);
  QVERIFY(!box.isVisible());
  QCOMPARE(box.result(), int{QDialog::Accepted});
  QCOMPARE(opener.opened, QStringList{});
}

void AboutExitTest::AboutReturnPressesOk() {
  RecordingOpener opener;
  AboutBox box(opener);
  box.open();
  QTest::keyClick(&box, Qt::Key_Return);
  QVERIFY(!box.isVisible());
  QCOMPARE(box.result(), int{QDialog::Accepted});
}

void AboutExitTest::AboutEscapeCloses() {
  RecordingOpener opener;
  AboutBox box(opener);
  box.open();
  // From a link, which keeps Enter and Space for itself but must let Escape through.
  auto* link = Child<QLabel>(box, "lblCoBrand");
  QVERIFY(link != nullptr);
  QTest::keyClick(link, Qt::Key_Escape);
  QVERIFY(!box.isVisible());
  QCOMPARE(opener.opened, QStringList{});
}

void AboutExitTest::ExitScreenTexts_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("text");
  TextRow("heading", "lblThanks", QStringLiteral("Thank you for using Solvane"));
  TextRow("more programs", "lblMorePrograms",
          QStringLiteral("More programs from the makers of Solvane"));
  TextRow("recommend", "cmdRecommend", QStringLiteral("&Recommend to a friend"));
  TextRow("close", "cmdClose", QStringLiteral("&Close"));
}

void AboutExitTest::ExitScreenTexts() {
  QFETCH(QString, name);
  QFETCH(QString, text);
  RecordingOpener opener;
  ExitScreen screen(opener);
  QCOMPARE(screen.objectName(), QStringLiteral("frmExit"));
  QCOMPARE(screen.windowTitle(), QStringLiteral("Solvane v1.15"));
  const QObject* control = screen.findChild<QObject*>(name);
  QVERIFY2(control != nullptr, qPrintable(name));
  QCOMPARE(control->property("text").toString(), text);
}

void AboutExitTest::ExitScreenIsItsOwnWindowEvenWithAParent() {
  RecordingOpener opener;
  QWidget owner;
  auto* screen = new ExitScreen(opener, &owner);
  QVERIFY(screen->isWindow());
  QVERIFY(!screen->testAttribute(Qt::WA_DeleteOnClose));
}

void AboutExitTest::RecommendOpensOneMailtoNamingTheHomePage() {
  RecordingOpener opener;
  ExitScreen screen(opener);
  QSignalSpy closed(&screen, &ExitScreen::Closed);
  screen.show();
  auto* recommend = Child<QPushButton>(screen, "cmdRecommend");
  QVERIFY(recommend != nullptr);
  QTest::mouseClick(recommend, Qt::LeftButton);

  QCOMPARE(opener.opened.size(), 1);
  const QString url = opener.opened.front();
  QVERIFY2(url.startsWith(QStringLiteral("mailto:?")), qPrintable(url));
  // Encoded all through: a raw blank, line break or second '?' would cut the body short in some
  // mail programs.
  for (const QChar c : {QChar(u' '), QChar(u'\n'), QChar(u'\r')})
    QVERIFY2(!url.contains(c), qPrintable(url));
  QCOMPARE(url.count(u'?'), 1);
  QCOMPARE(url.count(u'&'), 1);
  QVERIFY(QUrl(url, QUrl::StrictMode).isValid());

  QVERIFY(!MailtoField(url, QStringLiteral("subject")).trimmed().isEmpty());
  const QString body = MailtoField(url, QStringLiteral("body"));
  QVERIFY2(body.contains(Address(LinkTarget::HomePage)), qPrintable(body));

  // Recommending is not leaving.
  QVERIFY(screen.isVisible());
  QCOMPARE(closed.count(), 0);
}

void AboutExitTest::ExitScreenClosesOnceWhicheverWay_data() {
  QTest::addColumn<QString>("way");
  QTest::newRow("Close button") << QStringLiteral("button");
  QTest::newRow("window frame") << QStringLiteral("close");
  QTest::newRow("Escape") << QStringLiteral("escape");
}

void AboutExitTest::ExitScreenClosesOnceWhicheverWay() {
  QFETCH(QString, way);
  RecordingOpener opener;
  auto* screen = new ExitScreen(opener);
  const QPointer<ExitScreen> alive(screen);
  QSignalSpy closed(screen, &ExitScreen::Closed);
  screen->show();
  QVERIFY(QTest::qWaitForWindowExposed(screen));

  if (way == u"button") {
    auto* close_button = Child<QPushButton>(*screen, "cmdClose");
    QVERIFY(close_button != nullptr);
    QTest::mouseClick(close_button, Qt::LeftButton);
  } else if (way == u"escape") {
    // From the button that has nothing to do with closing: Escape must reach the window.
    auto* recommend = Child<QPushButton>(*screen, "cmdRecommend");
    QVERIFY(recommend != nullptr);
    QTest::keyClick(recommend, Qt::Key_Escape);
  } else {
    QVERIFY(screen->close());
  }
  QCOMPARE(closed.count(), 1);
  QVERIFY(!screen->isVisible());

  // Quitting closes every window once more, and the window system may still deliver a close
  // it queued before the screen went away; neither may report a second leave.
  screen->close();
  QTest::keyClick(screen, Qt::Key_Escape);
  QVERIFY(screen->windowHandle() != nullptr);
  QCloseEvent late_close;
  QCoreApplication::sendEvent(screen->windowHandle(), &late_close);
  QApplication::closeAllWindows();
  QCOMPARE(closed.count(), 1);
  QCOMPARE(opener.opened, QStringList{});

  // The owner deletes it, not the close.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(!alive.isNull());
  delete screen;
}

void AboutExitTest::ExitScreenShownAgainReportsItsNextClose() {
  RecordingOpener opener;
  ExitScreen screen(opener);
  QSignalSpy closed(&screen, &ExitScreen::Closed);
  screen.show();
  screen.close();
  screen.show();
  QVERIFY(screen.isVisible());
  QCOMPARE(closed.count(), 1);
  screen.close();
  QCOMPARE(closed.count(), 2);
}

}  // namespace solvane::shell

SOLVANE_QTEST_MAIN_AT_TWO_SCALES(solvane::shell::AboutExitTest)
#include "about_exit_qtest.moc"
