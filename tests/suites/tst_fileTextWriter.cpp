#include "engine/PlatformError.h"
#include "platform/FileTextWriter.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/sysmacros.h>

#include "TestFiles.h"
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

class TestFileTextWriter : public QObject
{
    Q_OBJECT

private slots:
    void piecesReplaceThenAppend_data();
    void piecesReplaceThenAppend();
    void failuresCarryTheSystemText_data();
    void failuresCarryTheSystemText();
    void otherThanRegularFilesAreRefused();
    void failedWriteCutsBackToTheLastWholePiece();
};

void TestFileTextWriter::piecesReplaceThenAppend_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("pieces");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray none;
    const QByteArray longer = "0123456789 an older and longer content\r\n";
    QTest::newRow("piece 1 creates")
        << none << QStringList { "abc" } << QList<int> { 1 } << QByteArray("abc");
    QTest::newRow("piece 1 replaces a longer file")
        << longer << QStringList { "ab" } << QList<int> { 1 } << QByteArray("ab");
    QTest::newRow("piece 0 replaces")
        << longer << QStringList { "x" } << QList<int> { 0 } << QByteArray("x");
    QTest::newRow("negative piece replaces")
        << longer << QStringList { "x" } << QList<int> { -5 } << QByteArray("x");
    QTest::newRow("empty piece 1 empties")
        << longer << QStringList { "" } << QList<int> { 1 } << QByteArray("");
    QTest::newRow("piece 2 appends")
        << QByteArray("old") << QStringList { "new" } << QList<int> { 2 } << QByteArray("oldnew");
    QTest::newRow("later piece creates a missing file")
        << none << QStringList { "a" } << QList<int> { 7 } << QByteArray("a");
    QTest::newRow("sequence concatenates, nothing added")
        << longer << QStringList { "w1\r\n", "w2\r\n", "w3" } << QList<int> { 1, 2, 3 }
        << QByteArray("w1\r\nw2\r\nw3");
    QTest::newRow("blanks and line ends kept") << none << QStringList { " a \n", "\r\n\t" }
                                               << QList<int> { 1, 2 } << QByteArray(" a \n\r\n\t");
    QTest::newRow("non-ASCII in the locale's encoding")
        << none << QStringList { "café", " naïve" } << QList<int> { 1, 2 }
        << QString("café naïve").toLocal8Bit();
}

void TestFileTextWriter::piecesReplaceThenAppend()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, pieces);
    QFETCH(QByteArray, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("out.txt");
    if (!before.isNull())
        writeAll(path, before);

    FileTextWriter writer;
    for (qsizetype i = 0; i < texts.size(); ++i)
        writer.WriteTextPiece(texts[i], path, pieces[i]);

    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(readAll(path), expected);
}

void TestFileTextWriter::failuresCarryTheSystemText_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("piece");
    QTest::addColumn<int>("error");

    QTest::newRow("missing folder, piece 1") << "missing/out.txt" << 1 << ENOENT;
    QTest::newRow("missing folder, piece 2") << "missing/out.txt" << 2 << ENOENT;
    QTest::newRow("directory, piece 1") << "folder" << 1 << EISDIR;
    QTest::newRow("directory, piece 2") << "folder" << 2 << EISDIR;
    QTest::newRow("parent is a file") << "plain.txt/out.txt" << 1 << ENOTDIR;
    QTest::newRow("empty path") << "" << 1 << ENOENT;
    QTest::newRow("share path without a share") << "//Words.txt" << 1 << ENOENT;
}

void TestFileTextWriter::failuresCarryTheSystemText()
{
    QFETCH(QString, target);
    QFETCH(int, piece);
    QFETCH(int, error);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    writeAll(dir.filePath("plain.txt"), "keep");
    const QString path
        = target.isEmpty() || target.startsWith("//") ? target : dir.filePath(target);

    FileTextWriter writer;
    try {
        writer.WriteTextPiece("w1", path, piece);
        QFAIL("the write did not fail");
    } catch (const PlatformError& failure) {
        QCOMPARE(failure.description(), systemText(error));
    }
    QCOMPARE(readAll(dir.filePath("plain.txt")), QByteArray("keep"));
    QVERIFY(!QFileInfo::exists(dir.filePath("missing")));
}

void TestFileTextWriter::otherThanRegularFilesAreRefused()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A named pipe without a reader would block the open for good.
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
    std::vector<std::pair<QString, int>> cases
        = { { dir.filePath("pipe"), 1 }, { dir.filePath("pipe"), 2 } };
    // A null device of our own, and a link to it put in the file's place between pieces.
    if (::mknod(QFile::encodeName(dir.filePath("null")).constData(), S_IFCHR | 0666, makedev(1, 3))
        == 0) {
        QVERIFY(QFile::link(dir.filePath("null"), dir.filePath("Words.txt")));
        cases.insert(
            cases.end(), { { dir.filePath("null"), 1 }, { dir.filePath("Words.txt"), 2 } });
    }
    for (const auto& [path, piece] : cases)
        QVERIFY_THROWS_EXCEPTION(PlatformError, FileTextWriter().WriteTextPiece("w", path, piece));
}

void TestFileTextWriter::failedWriteCutsBackToTheLastWholePiece()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("Words.txt");
    FileTextWriter writer;
    // A leading "//" is the top folder, not a network share.
    writer.WriteTextPiece("alpha,", "/" + path, 1);

    // A file size limit makes the next piece fail halfway, as a full disk does.
    rlimit saved {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 9;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QString description;
    try {
        writer.WriteTextPiece("bulgarian,", path, 2);
    } catch (const PlatformError& failure) {
        description = failure.description();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previousHandler);

    QCOMPARE(description, systemText(EFBIG));
    QCOMPARE(readAll(path), QByteArray("alpha,"));
}

QTEST_GUILESS_MAIN(TestFileTextWriter)
#include "tst_fileTextWriter.moc"
