#include "support/TemporaryDocuments.h"
#include "tasks/ImageView.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(ImageListParsing, CommentsBlanksEveryLineEndAndTheMissingImagesText)
{
    EXPECT_EQ(ImageView::parseImageList("# my pictures\nfish.png\r\n\n  bird.jpg  \n"),
              (QStringList{"fish.png", "bird.jpg"}));
    EXPECT_EQ(ImageView::parseImageList("a\u2028b\x0c" "a"), (QStringList{"a", "b", "a"})) << "duplicates are kept";
    EXPECT_TRUE(ImageView::parseImageList("\n\n#only a comment").isEmpty());
    EXPECT_EQ(ImageView::missingImagesText({"1", "2", "3", "4", "5"}), "Missing images: 1, 2, 3, 4, 5");
    EXPECT_EQ(ImageView::missingImagesText({"1", "2", "3", "4", "5", "6"}), "Missing images: 1, 2, 3, 4, 5\u2026");
}

TEST(ImageViewLookup, BundledListWithPicturesFromDocumentsFirst)
{
    TemporaryDocuments documents;
    documents.write("images.txt", "nothing here\n");
    documents.write("images/sun.png", "");
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(documents.filePath("images/sun.png")));
    ImageView view("images.txt");
    view.appeared();
    EXPECT_FALSE(view.loadError()) << view.loadErrorText().toStdString();
    ASSERT_EQ(view.images().size(), 4) << "the packaged list wins over the documents copy";
    EXPECT_EQ(view.images().at(0).size(), QSize(2, 2)) << "the documents picture wins over the packaged one";
    EXPECT_EQ(view.images().at(1).size(), QSize(160, 160));
    EXPECT_TRUE(view.imageSources().at(1).startsWith("qrc:/images/"));
}

TEST(ImageViewLookup, ListsAndPicturesThatAreMissing)
{
    TemporaryDocuments documents;
    ImageView none("absent.txt");
    none.appeared();
    EXPECT_EQ(none.loadErrorText(), "Missing image list file: absent.txt");

    documents.write("sets/list", "images/tree.png\nghost.png\n" + documents.filePath("gone.png").toUtf8() + "\n");
    ImageView partial("sets/list");
    partial.appeared();
    EXPECT_EQ(partial.images().size(), 1);
    EXPECT_EQ(partial.loadErrorText(), "Missing images: ghost.png, " + documents.filePath("gone.png"));

    documents.write("empty.txt", "# nothing\n");
    ImageView empty("empty.txt");
    empty.appeared();
    EXPECT_TRUE(empty.images().isEmpty());
    EXPECT_FALSE(empty.loadError());
}
