#include "gui/shell/progress_box.h"

#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace qorvale::gui {

class ProgressBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTitleTextAndBar_data();
    void showsTitleTextAndBar();
    void cancelOnlyAsks();
};

void ProgressBoxTest::showsTitleTextAndBar_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("shown");
    QTest::newRow("empty") << "Check File"
                           << "Game:  0 of 0    0% complete" << 0.0 << 0.0;
    QTest::newRow("half") << "Make Fast File"
                          << "Game:  50 of 100    50% complete" << 0.5 << 0.5;
    QTest::newRow("clamped") << "Duplicate Games"
                             << "Game:  9 of 9  100%  2 duplicates" << 1.7 << 1.0;
}

// Counts pixels of the highlight colour along the bar's middle row.
static int FilledPixels(ProgressBox& box) {
    QImage image = box.grab().toImage();
    QColor fill = box.palette().highlight().color();
    int row = 0;
    // The bar is the only place painted in the highlight colour; find its first row.
    for (int y = 0; y < image.height() && row == 0; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == fill) {
                row = y + 2;
                break;
            }
        }
    }
    int filled = 0;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, row) == fill) ++filled;
    }
    return filled;
}

void ProgressBoxTest::showsTitleTextAndBar() {
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(double, fraction);
    QFETCH(double, shown);
    ProgressBox box;
    ProgressCounters counters;
    counters.title = title.toStdString();
    counters.text = text.toStdString();
    counters.last_fraction = fraction;
    box.ShowProgress(counters);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(!box.isModal());
    QCOMPARE(box.windowTitle(), title);
    QCOMPARE(box.Text(), text);
    QCOMPARE(box.BarFraction(), shown);
    int expected = static_cast<int>(box.BarSize().width() * shown);
    QCOMPARE(FilledPixels(box), expected);
}

void ProgressBoxTest::cancelOnlyAsks() {
    ProgressBox box;
    box.show();
    QSignalSpy spy(&box, &ProgressBox::cancelRequested);
    auto* cancel = box.findChild<QPushButton*>("cancel");
    QVERIFY(cancel != nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QTest::keyClick(&box, Qt::Key_Escape);
    QCOMPARE(spy.count(), 2);
    // Whether it closes is the owner's decision: operations that refuse a cancel keep it up.
    QVERIFY(box.isVisible());
}

}  // namespace qorvale::gui

QTEST_MAIN(qorvale::gui::ProgressBoxTest)
#include "progress_box_test.moc"
