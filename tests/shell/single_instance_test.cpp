// One program per user: a later start hands its command line to the first and ends.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

#include "app/shell/SingleInstance.h"

namespace {

class SingleInstanceTest : public ::testing::Test {
 protected:
  QString Name() const { return dir_.filePath(QStringLiteral("instance")); }
  QTemporaryDir dir_;
};

TEST_F(SingleInstanceTest, LaterStartHandsItsCommandLineToTheFirst) {
  CSingleInstanceGuard first(Name());
  ASSERT_TRUE(first.Claim({}));
  QSignalSpy received(&first, &CSingleInstanceGuard::CommandLineReceived);

  const QStringList arguments = {QStringLiteral("--lookup"), QStringLiteral("ice cream"),
                                 QStringLiteral("\u00e9t\u00e9")};
  CSingleInstanceGuard later(Name());
  EXPECT_FALSE(later.Claim(arguments));
  EXPECT_FALSE(later.is_first_instance());
  ASSERT_TRUE(received.wait(5000));
  EXPECT_EQ(received.at(0).at(0).toStringList(), arguments);

  CSingleInstanceGuard without_arguments(Name());
  EXPECT_FALSE(without_arguments.Claim({}));
  ASSERT_TRUE(received.wait(5000));
  EXPECT_EQ(received.at(1).at(0).toStringList(), QStringList());
}

TEST_F(SingleInstanceTest, CommandLineIsCutTo2047Characters) {
  struct Case {
    QStringList arguments;
    QStringList expected;
  };
  const QString long_text(3000, QLatin1Char('x'));
  const Case cases[] = {
      {{long_text}, {QString(2047, QLatin1Char('x'))}},
      {{QString(2046, QLatin1Char('a')), QStringLiteral("b")}, {QString(2046, QLatin1Char('a'))}},
      {{QStringLiteral("a"), QStringLiteral("")}, {QStringLiteral("a"), QStringLiteral("")}},
  };
  for (const Case& c : cases) {
    const QByteArray encoded = CSingleInstanceGuard::EncodeCommandLine(c.arguments);
    EXPECT_LE(QString::fromUtf8(encoded).size(), CSingleInstanceGuard::kCommandLineLimit);
    EXPECT_EQ(CSingleInstanceGuard::DecodeCommandLine(encoded), c.expected);
  }
}

TEST_F(SingleInstanceTest, SocketLeftByACrashedProgramIsTakenOver) {
  // A bound socket file that nobody listens on any more.
  const QByteArray path = Name().toLocal8Bit();
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ::close(fd);

  CSingleInstanceGuard guard(Name());
  EXPECT_TRUE(guard.Claim({}));
  CSingleInstanceGuard later(Name());
  EXPECT_FALSE(later.Claim({}));
}

// A raw client that sends `bytes` and closes, as a later start does.
void SendRaw(const QString& name, const QByteArray& bytes) {
  const QByteArray path = name.toLocal8Bit();
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ASSERT_EQ(::send(fd, bytes.constData(), static_cast<size_t>(bytes.size()), 0), bytes.size());
  ::close(fd);
}

TEST_F(SingleInstanceTest, HandOversArriveWholeOrNotAtAll) {
  CSingleInstanceGuard first(Name());
  ASSERT_TRUE(first.Claim({}));
  QSignalSpy received(&first, &CSingleInstanceGuard::CommandLineReceived);

  // Longer than one read: 2,047 characters of three bytes each.
  const QStringList longest = {QString(CSingleInstanceGuard::kCommandLineLimit, QChar(0x20ac))};
  CSingleInstanceGuard later(Name());
  EXPECT_FALSE(later.Claim(longest));
  ASSERT_TRUE(received.wait(5000));
  EXPECT_EQ(received.takeFirst().at(0).toStringList(), longest);

  // More than a hand-over can be is not one: nothing is received, and the next one still is.
  SendRaw(Name(), QByteArray(4 * 2048 + 1, 'x'));
  CSingleInstanceGuard next(Name());
  EXPECT_FALSE(next.Claim({QStringLiteral("--lookup"), QStringLiteral("cat")}));
  ASSERT_TRUE(received.wait(5000));
  ASSERT_EQ(received.size(), 1);
  EXPECT_EQ(received.at(0).at(0).toStringList(),
            (QStringList{QStringLiteral("--lookup"), QStringLiteral("cat")}));
}

TEST_F(SingleInstanceTest, SocketIsTheUsersAloneWhileTheProgramRuns) {
  {
    CSingleInstanceGuard first(Name());
    ASSERT_TRUE(first.Claim({}));
    struct stat status = {};
    ASSERT_EQ(::stat(Name().toLocal8Bit().constData(), &status), 0);
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_EQ(status.st_mode & (S_IRWXG | S_IRWXO), 0u);
  }
  // Gone with the program: the next start listens instead of handing over.
  EXPECT_FALSE(QFileInfo::exists(Name()));
  CSingleInstanceGuard next(Name());
  EXPECT_TRUE(next.Claim({}));
}

TEST(HandOverRouterTest, RunsTheHandlersOfKnownOptionsElseTheDefault) {
  struct Case {
    QStringList arguments;
    QStringList expected;  // what ran, in order
  };
  const Case cases[] = {
      {{}, {"default"}},
      {{"--unknown", "x"}, {"default"}},
      {{"--lookup", "cat"}, {"lookup:cat"}},
      {{"--lookup-selection", "--lookup", "dog"}, {"selection", "lookup:dog"}},
      {{"--lookup"}, {"lookup:"}},  // a missing value reads as empty
      {{"--from", "shortcut", "--lookup", "cat"}, {"from:shortcut", "lookup:cat"}},
      {{"--from", "shortcut"}, {"from:shortcut", "default"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
    QStringList ran;
    HandOverRouter router;
    router.SetDefault([&] { ran << QStringLiteral("default"); });
    router.AddOption(QStringLiteral("--lookup"), 1, [&](const QStringList& values) {
      ran << QStringLiteral("lookup:") + values.value(0);
    });
    router.AddOption(QStringLiteral("--lookup-selection"), 0,
                     [&](const QStringList&) { ran << QStringLiteral("selection"); });
    router.AddContextOption(QStringLiteral("--from"), 1, [&](const QStringList& values) {
      ran << QStringLiteral("from:") + values.value(0);
    });
    router.Dispatch(c.arguments);
    EXPECT_EQ(ran, c.expected);
  }
}

}  // namespace
