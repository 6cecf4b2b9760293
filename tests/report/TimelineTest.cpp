#include "report/TimelinePicture.h"
#include "run/LabelFileReader.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"

#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

namespace {

const QByteArray labelFile = "# StartTime\tLabel\n"
                             "05-12-26/14:00:00.000\tStart\n"
                             "05-12-26/14:00:00.000\trest (1) started\n"
                             "05-12-26/14:00:30.000\trest (1) paused \n"
                             "05-12-26/14:00:40.000\tresearch resumed in rest (1)\n"
                             "05-12-26/14:00:50.000\telectrode\tloose\n"
                             "05-12-26/14:00:40.000\trest (1) started\n"
                             "05-12-26/14:01:00.000\trest (1) ended \n"
                             "05-12-26/14:01:20.000\ttask (2) cancelled, restarting... \n"
                             "05-12-26/14:01:30.000\t How tense? 7\n"
                             "05-12-26/14:01:20.000\ttask (2) started\n"
                             "05-12-26/14:02:00.000\ttask (2) paused \n"
                             "05-12-26/14:01:20.000\ttask (2) started\n"
                             "05-12-26/14:02:10.000\ttask (2) stopped \n";

// Every text the picture shows when pointed at, over a grid of points.
QSet<QString> pointedTexts(const TimelinePicture &picture, qreal width)
{
    QSet<QString> texts;
    for (qreal y = 0; y < picture.heightFor(width); y += 3) {
        for (qreal x = 0; x < width; x += 3)
            texts.insert(picture.textAt(QPointF(x, y), width));
    }
    texts.remove(QString());
    return texts;
}

ProgramRun cli(const QStringList &args)
{
    return ProgramRun::of(QStringLiteral(TAVOREN_BINARY_DIR "/tools/cli/tavoren-cli"), args);
}

} // namespace

TEST(Timeline, EveryBarPauseAndMarkerTellsWhatItIsWhenPointedAt)
{
    const TimelinePicture picture(LabelFileReader::read(labelFile));
    const QSet<QString> texts = pointedTexts(picture, 600);
    for (const char *expected : {"rest (1): 01:00, ended", "task (2): 00:50, stopped", "Paused 00:10", "Paused 00:10, not resumed",
                                 "00:50 (14:00:50) Note: electrode\tloose", "01:30 (14:01:30) Rating 7: How tense?",
                                 "01:20 (14:01:20) Restarted task (2)", "Stopped at 02:10"}) {
        EXPECT_TRUE(texts.contains(expected)) << expected << "\nshown: " << texts.values().join(" | ").toStdString();
    }
    EXPECT_EQ(TimelinePicture::durationText(3723400), "1:02:03");
}

TEST(Timeline, CliDrawsSvgAndPng)
{
    TemporaryDocuments folder;
    folder.write("run.lbl", labelFile);
    ProgramRun out = cli({"timeline", folder.filePath("run.lbl"), "-o", folder.filePath("run.svg")});
    ASSERT_EQ(out.status, 0) << out.err.toStdString();
    const QByteArray svg = folder.read("run.svg");
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains("task (2)"));

    out = cli({"timeline", folder.filePath("run.lbl"), "-o", folder.filePath("run.png"), "--width", "700"});
    ASSERT_EQ(out.status, 0) << out.err.toStdString();
    const QImage png = QImage::fromData(folder.read("run.png"), "PNG");
    EXPECT_EQ(png.width(), 1400) << "drawn at twice the width";

    folder.write("cut.lbl", labelFile + "05-12-26/14:0");
    out = cli({"timeline", folder.filePath("cut.lbl"), "-o", folder.filePath("cut.png")});
    EXPECT_EQ(out.status, 0);
    EXPECT_TRUE(out.err.contains("line 15 is cut off")) << out.err.toStdString();

    EXPECT_EQ(cli({"timeline", folder.filePath("run.lbl"), "-o", folder.filePath("run.txt")}).status, 64);
    EXPECT_EQ(cli({"timeline", folder.filePath("missing.lbl"), "-o", folder.filePath("x.png")}).status, 1);
    EXPECT_FALSE(folder.exists("run.txt"));
}
