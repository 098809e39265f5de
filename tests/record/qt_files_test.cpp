#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <thread>

#include "options/settings.h"
#include "platform/files/qt_file_system.h"
#include "platform/files/qt_text_codec.h"
#include "record/record_file.h"
#include "record_test_support.h"

namespace kiryuza {
namespace {

std::vector<std::uint8_t> バイト(const std::string& s) {
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

TEST(QtTextCodec, CP932を読むときは正しいバイトだけを受け付ける) {
    struct 例 {
        const char* 名;
        std::string バイト列;
        std::optional<std::string> 文字列;
    };
    const 例 表[] = {
        {"ASCII", "abc 123-~", "abc 123-~"},
        {"漢字とかな", "\x8e\x52\x93\x63\x82\xa0", "山田あ"},
        {"半角カナ", "\xcc\xa7\xb2\xd9", "ﾌｧｲﾙ"},
        {"全角のチルダとマイナス", "\x81\x60\x81\x7c\x81\x61", "～－∥"},
        {"NEC特殊文字", "\x87\x40", "①"},
        {"空", "", ""},
        {"途中で切れた2バイト文字", "ab\x82", std::nullopt},
        {"2バイト目が不正", "\x82\x20", std::nullopt},
        {"CP932にないバイト", "\xff", std::nullopt},
        {"0x80", "a\x80", std::nullopt},
        {"UTF-8の漢字のBOM", "\xef\xbb\xbf", std::nullopt},
    };
    QtTextCodec 符号;
    for (const auto& e : 表) EXPECT_EQ(符号.CP932から(e.バイト列), e.文字列) << e.名;
}

TEST(QtTextCodec, CP932へ書くときは似た文字を寄せ持たない文字は断る) {
    struct 例 {
        const char* 名;
        std::string 文字列;
        std::optional<std::string> バイト列;
    };
    const 例 表[] = {
        {"ASCII", "Kiryuza 1", "Kiryuza 1"},
        {"全角チルダ", "～", "\x81\x60"},
        {"全角マイナス", "－", "\x81\x7c"},
        {"波ダッシュは全角チルダへ", "〜", "\x81\x60"},
        {"二重縦線は平行記号へ", "‖", "\x81\x61"},
        {"マイナス記号は全角マイナスへ", "−", "\x81\x7c"},
        {"和文の名前", "山田　太郎", "\x8e\x52\x93\x63\x81\x40\x91\xbe\x98\x59"},
        {"絵文字", "名😀", std::nullopt},
        {"将棋の駒の記号", "☗", std::nullopt},
        {"円記号", "¥", std::nullopt},
        {"ノーブレークスペース",
         "a\xc2\xa0"
         "b",
         std::nullopt},
        {"壊れたUTF-8", "\xe5\xb1", std::nullopt},
        {"置換文字", "\xef\xbf\xbd", std::nullopt},
    };
    QtTextCodec 符号;
    for (const auto& e : 表) EXPECT_EQ(符号.CP932へ(e.文字列), e.バイト列) << e.名;
}

// The settings lines the game writes are read without the converter, exactly as the real
// converter reads them; any other line still goes through it.
TEST(QtTextCodec, ゲームが書く設定の行は変換器なしでも同じに読める) {
    struct 使わない符号 : 文字コード {
        int 読んだ = 0;
        std::optional<std::string> CP932から(const std::string&) override {
            ++読んだ;
            return std::nullopt;
        }
        std::optional<std::string> CP932へ(const std::string&) override { return std::nullopt; }
    };
    QtTextCodec 本物;
    for (const 背景項目& 背景 : 背景一覧)
        for (const bool 入 : {false, true}) {
            設定状態 設定;
            設定.背景種類 = 背景.コード;
            設定.移動指導フラグ = 入 ? 定数_ON : 定数_OFF;
            設定.経過時間 = !入;
            設定.BGM = 入;
            const std::vector<std::string> 行 = 設定の行(設定);
            const auto 内容 = 設定ファイル内容(行, 本物);
            ASSERT_TRUE(内容.has_value());
            使わない符号 なし;
            EXPECT_EQ(設定ファイルの行(*内容, なし), 行) << 背景.値;
            EXPECT_EQ(なし.読んだ, 0);
            EXPECT_EQ(設定ファイルの行(*内容, 本物), 行) << 背景.値;
        }
    const auto 他 = 本物.CP932へ("背景画=青\r\n移動指導=入");
    ASSERT_TRUE(他.has_value());
    使わない符号 なし;
    EXPECT_EQ(設定ファイルの行(std::vector<std::uint8_t>(他->begin(), 他->end()), なし),
              std::vector<std::string>{});
    EXPECT_EQ(なし.読んだ, 2);
}

// A folder of its own for every test.
class QtFileSystemTest : public ::testing::Test {
  protected:
    QTemporaryDir dir_;
    QtFileSystem files_;

    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
    void put(const char* name, const std::string& bytes) {
        QFile f(dir_.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    std::string get(const char* name) const {
        QFile f(dir_.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }
    QStringList entries() const {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(QtFileSystemTest, 書いたバイトをそのまま読み上書きもできる) {
    ASSERT_TRUE(dir_.isValid());
    const std::string 内容("\x91\xe6\r\n\0\xff end", 9);
    const ファイル結果 w = files_.書く(path("対局.棋譜"), バイト(内容));
    ASSERT_TRUE(w.成功) << w.誤り;
    EXPECT_TRUE(files_.存在(path("対局.棋譜")));
    std::string 誤り = "前の誤り";
    EXPECT_EQ(files_.読む(path("対局.棋譜"), 誤り, 100), バイト(内容));
    EXPECT_EQ(誤り, "");

    ASSERT_TRUE(files_.書く(path("対局.棋譜"), バイト("短い")).成功);
    EXPECT_EQ(get("対局.棋譜"), "短い");
    ASSERT_TRUE(files_.書く(path("空.棋譜"), {}).成功);
    EXPECT_EQ(files_.読む(path("空.棋譜"), 誤り, 100), std::vector<std::uint8_t>{});
    // Nothing but the two files is left behind.
    EXPECT_EQ(entries().size(), 2);
}

TEST_F(QtFileSystemTest, 読めないものは理由を日本語で返す) {
    put("大きい.棋譜", std::string(101, 'a'));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("フォルダ"));
    struct 例 {
        const char* 名;
        std::string パス;
        std::string_view 理由;
    };
    const 例 表[] = {
        {"ない", path("ない.棋譜"), files_text::kNotFound},
        {"空のパス", "", files_text::kNoName},
        {"フォルダ", path("フォルダ"), files_text::kIsFolder},
        {"装置", "/dev/null", files_text::kNotRegular},
        {"親が通常のファイル", path("大きい.棋譜") + "/中.棋譜", files_text::kNotFound},
    };
    for (const auto& e : 表) {
        std::string 誤り;
        EXPECT_EQ(files_.読む(e.パス, 誤り, 1000), std::nullopt) << e.名;
        EXPECT_EQ(誤り, e.理由) << e.名;
        // Opening refuses the same files with the same words.
        std::string 開く誤り;
        EXPECT_EQ(files_.開く(e.パス, 開く誤り, 1000), nullptr) << e.名;
        EXPECT_EQ(開く誤り, e.理由) << e.名;
    }
    std::string 誤り;
    EXPECT_EQ(files_.読む(path("大きい.棋譜"), 誤り, 100), std::nullopt);
    EXPECT_EQ(誤り, files_text::kTooLarge);
    EXPECT_EQ(files_.開く(path("大きい.棋譜"), 誤り, 100), nullptr);
    EXPECT_EQ(誤り, files_text::kTooLarge);
    EXPECT_EQ(files_.読む(path("大きい.棋譜"), 誤り, 101), バイト(std::string(101, 'a')));
    EXPECT_FALSE(files_.存在(path("フォルダ")));
    EXPECT_FALSE(files_.存在(path("ない.棋譜")));
}

// An opened file gives any part of itself, from any thread, until it is cut short: then the
// reads beyond its new end fail instead of ending the program. A file put in its place by
// renaming leaves the opened one as it was.
TEST_F(QtFileSystemTest, 開いたファイルは部分を読み切り詰められたら失敗を返す) {
    std::string 全部;
    for (int i = 0; i < 20000; ++i) 全部 += char('a' + i % 26);
    put("音.wav", 全部);
    std::string 誤り = "前の誤り";
    const auto 口 = files_.開く(path("音.wav"), 誤り, 1 << 20);
    ASSERT_NE(口, nullptr);
    EXPECT_EQ(誤り, "");
    EXPECT_EQ(口->大きさ(), 20000u);
    std::string 部分(30, '\0');
    std::thread 別([&] { EXPECT_TRUE(口->読む(19970, 部分.data(), 30)); });
    別.join();
    EXPECT_EQ(部分, 全部.substr(19970));
    EXPECT_FALSE(口->読む(19990, 部分.data(), 11));

    put("新.wav", "別の中身");
    ASSERT_EQ(std::rename(path("新.wav").c_str(), path("音.wav").c_str()), 0);
    EXPECT_TRUE(口->読む(0, 部分.data(), 30));
    EXPECT_EQ(部分, 全部.substr(0, 30));

    put("短.wav", 全部);
    const auto 短 = files_.開く(path("短.wav"), 誤り, 1 << 20);
    ASSERT_NE(短, nullptr);
    ASSERT_TRUE(QFile::resize(dir_.filePath("短.wav"), 100));
    EXPECT_TRUE(短->読む(50, 部分.data(), 30));
    EXPECT_FALSE(短->読む(5000, 部分.data(), 30));
}

// A read takes memory for what the file holds, not for the most it may hold: under a tight
// address-space limit a small file still reads with a large limit. Run in a child process,
// whose limit cannot hurt the tests; the sanitizers reserve address space of their own.
TEST_F(QtFileSystemTest, 小さなファイルは大きな上限でも小さなメモリで読む) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit";
#else
    put("小さい.ini", "BGM=OFF\r\n");
    const pid_t 子 = fork();
    ASSERT_GE(子, 0);
    if (子 == 0) {
        long ページ = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &ページ) != 1) ページ = 0;
            std::fclose(f);
        }
        const rlim_t 今 = rlim_t(ページ) * rlim_t(sysconf(_SC_PAGESIZE));
        const rlimit 制限{今 + 200 * 1024 * 1024, 今 + 200 * 1024 * 1024};
        if (ページ == 0 || setrlimit(RLIMIT_AS, &制限) != 0) _exit(3);
        std::string 誤り;
        const auto 内容 = QtFileSystem().読む(path("小さい.ini"), 誤り, std::size_t(1) << 30);
        _exit(内容 && 内容->size() == 9 ? 0 : 1);
    }
    int 状態 = 0;
    ASSERT_EQ(waitpid(子, &状態, 0), 子);
    EXPECT_TRUE(WIFEXITED(状態) && WEXITSTATUS(状態) == 0) << 状態;
#endif
}

TEST_F(QtFileSystemTest, 書けない場所は理由を日本語で返し何も作らない) {
    put("ふつう.棋譜", "中身");
    ASSERT_TRUE(QDir(dir_.path()).mkdir("同名.棋譜"));
    struct 例 {
        const char* 名;
        std::string パス;
        std::string_view 理由;
    };
    const 例 表[] = {
        {"親が通常のファイル", path("ふつう.棋譜") + "/中.棋譜", files_text::kFolderMissing},
        {"ないフォルダ", path("ない") + "/中.棋譜", files_text::kFolderMissing},
        {"同じ名前のフォルダ", path("同名.棋譜"), files_text::kTargetIsFolder},
        {"空のパス", "", files_text::kNoName},
        {"名前が長すぎる", path("") + std::string(300, 'a'), files_text::kNameTooLong},
    };
    for (const auto& e : 表) {
        const ファイル結果 r = files_.書く(e.パス, バイト("新しい中身"));
        EXPECT_FALSE(r.成功) << e.名;
        EXPECT_EQ(r.誤り, e.理由) << e.名;
    }
    EXPECT_EQ(get("ふつう.棋譜"), "中身");
    EXPECT_EQ(entries(), QStringList({"ふつう.棋譜", "同名.棋譜"}));
}

// A write follows links to a regular file, which it replaces in its own folder and leaves a
// link; a device, a pipe or a folder at the end of a link is never written, replaced or
// removed, whoever runs the game.
TEST_F(QtFileSystemTest, リンクの先が通常のファイルでなければ書かず消さない) {
    ASSERT_TRUE(QDir(dir_.path()).mkpath("本当/フォルダ"));
    ASSERT_EQ(::mkfifo(path("パイプ").c_str(), 0600), 0);
    bool 装置あり = false;
    if (geteuid() == 0)
        装置あり = ::mknod(path("装置").c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0;
    put("本当/設定.ini", "前の設定");
    ASSERT_EQ(::chmod(path("本当/設定.ini").c_str(), 0640), 0);
    for (const char* 先 : {"パイプ", "装置", "本当/フォルダ", "本当/設定.ini"})
        ASSERT_EQ(::symlink(path(先).c_str(), (path(先) + ".link").c_str()), 0);
    auto 種類 = [&](const char* 名) {
        struct stat st {};
        return ::lstat(path(名).c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
    };

    for (const std::string 名 : {"パイプ", "パイプ.link", "装置", "装置.link"}) {
        if (名.rfind("装置", 0) == 0 && !装置あり) continue;
        const ファイル結果 r = files_.書く(path(名.c_str()), バイト("上書き"));
        EXPECT_FALSE(r.成功) << 名;
        EXPECT_EQ(r.誤り, files_text::kTargetNotRegular) << 名;
        EXPECT_FALSE(files_.消す(path(名.c_str())).成功) << 名;
        EXPECT_EQ(files_.脇へ移す(path(名.c_str()), "damaged"), std::nullopt) << 名;
    }
    EXPECT_EQ(files_.書く(path("本当/フォルダ.link"), バイト("x")).誤り,
              files_text::kTargetIsFolder);
    EXPECT_EQ(種類("パイプ"), S_IFIFO);
    if (装置あり) {
        EXPECT_EQ(種類("装置"), S_IFCHR);
    }
    EXPECT_EQ(種類("本当/フォルダ"), S_IFDIR);

    // Through a link to a regular file: the target takes the bytes and keeps its mode.
    ASSERT_TRUE(files_.書く(path("本当/設定.ini.link"), バイト("新しい設定")).成功);
    EXPECT_EQ(種類("本当/設定.ini.link"), S_IFLNK);
    EXPECT_EQ(get("本当/設定.ini"), "新しい設定");
    struct stat st {};
    ASSERT_EQ(::stat(path("本当/設定.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(QDir(dir_.filePath("本当")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"設定.ini", "設定.ini.link"}));

    // Set aside under a name no file has, then removed through the link, which stays.
    EXPECT_EQ(files_.脇へ移す(path("本当/設定.ini.link"), "damaged"),
              path("本当/設定.ini.damaged"));
    put("本当/設定.ini", "二つ目");
    EXPECT_EQ(files_.脇へ移す(path("本当/設定.ini"), "damaged"), path("本当/設定.ini.damaged-2"));
    EXPECT_EQ(get("本当/設定.ini.damaged"), "新しい設定");
    put("本当/設定.ini", "三つ目");
    EXPECT_TRUE(files_.消す(path("本当/設定.ini.link")).成功);
    EXPECT_EQ(種類("本当/設定.ini"), 0u);
    EXPECT_EQ(種類("本当/設定.ini.link"), S_IFLNK);
    EXPECT_TRUE(files_.書く(path("本当/設定.ini.link"), バイト("四つ目")).成功);
    EXPECT_EQ(get("本当/設定.ini"), "四つ目");
}

// Links another account made are never written through, whoever runs the game (root with
// another account's home above all): neither a link at the file's own name, nor one leading to
// another account's file, nor one among the folders on the way. The account's own links, and
// root's among the folders, are followed. Other accounts' links are made with lchown, which
// needs root.
TEST_F(QtFileSystemTest, 別のユーザーのリンクは通らない) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a link to another account";
    constexpr uid_t 他人 = 65534;
    ASSERT_TRUE(QDir(dir_.path()).mkpath("本当/中"));
    put("本当/設定.ini", "前の設定");
    put("本当/他人の設定.ini", "他人の設定");
    ASSERT_EQ(::chown(path("本当/他人の設定.ini").c_str(), 他人, 他人), 0);
    auto リンク = [&](const char* 先, const char* 名, uid_t 持ち主) {
        ASSERT_EQ(::symlink(path(先).c_str(), path(名).c_str()), 0);
        ASSERT_EQ(::lchown(path(名).c_str(), 持ち主, 持ち主), 0);
    };
    リンク("本当/設定.ini", "他人のリンク", 他人);
    リンク("本当/他人の設定.ini", "他人のファイルへのリンク", 0);
    リンク("他人のリンク", "リンクのリンク", 0);
    リンク("本当", "他人のフォルダ", 他人);
    リンク("本当", "自分のフォルダ", 0);

    for (const char* 名 : {"他人のリンク", "他人のファイルへのリンク", "リンクのリンク",
                           "他人のフォルダ/設定.ini"}) {
        const ファイル結果 r = files_.書く(path(名), バイト("上書き"));
        EXPECT_FALSE(r.成功) << 名;
        EXPECT_EQ(r.誤り, files_text::kForeignLink) << 名;
        EXPECT_FALSE(files_.消す(path(名)).成功) << 名;
        EXPECT_EQ(files_.脇へ移す(path(名), "damaged"), std::nullopt) << 名;
    }
    EXPECT_FALSE(files_.フォルダを作る(path("他人のフォルダ/新しい")).成功);
    EXPECT_FALSE(QFile::exists(dir_.filePath("本当/新しい")));
    EXPECT_EQ(get("本当/設定.ini"), "前の設定");
    EXPECT_EQ(get("本当/他人の設定.ini"), "他人の設定");
    EXPECT_EQ(QDir(dir_.filePath("本当")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"他人の設定.ini", "設定.ini"}));

    // The account's own folder link; a folder made through it lands where it leads.
    ASSERT_TRUE(files_.書く(path("自分のフォルダ/設定.ini"), バイト("新しい設定")).成功);
    EXPECT_EQ(get("本当/設定.ini"), "新しい設定");
    ASSERT_TRUE(files_.フォルダを作る(path("自分のフォルダ/中/下/奥")).成功);
    EXPECT_TRUE(QFileInfo(dir_.filePath("本当/中/下/奥")).isDir());

    // Another account writing: root's folder link is followed, root's link at the name is not.
    ASSERT_EQ(::chown(path("本当").c_str(), 他人, 他人), 0);
    ASSERT_EQ(::chmod(dir_.path().toLocal8Bit().constData(), 0755), 0);
    リンク("本当/他人の設定.ini", "root のリンク", 0);
    const pid_t 子 = ::fork();
    if (子 == 0) {
        int 結果 = 0;
        if (::setgid(他人) != 0 || ::setuid(他人) != 0) ::_exit(100);
        QtFileSystem files;
        if (!files.書く(path("自分のフォルダ/他人の設定.ini"), バイト("他人が書いた")).成功)
            結果 |= 1;
        if (files.書く(path("root のリンク"), バイト("root のリンクから")).誤り !=
            files_text::kForeignLink)
            結果 |= 2;
        ::_exit(結果);
    }
    int 状態 = 0;
    ASSERT_EQ(::waitpid(子, &状態, 0), 子);
    ASSERT_TRUE(WIFEXITED(状態));
    EXPECT_EQ(WEXITSTATUS(状態), 0);
    EXPECT_EQ(get("本当/他人の設定.ini"), "他人が書いた");
}

// Limits the size of files this process may write, as a full disk would; the write then fails
// part way whatever the user's rights (root included). The program ignores the signal such a
// write raises, as the game does at start-up, so the write fails instead of the process.
class ファイル長制限 {
  public:
    explicit ファイル長制限(rlim_t 上限) {
        ignoreFileSizeSignal();
        getrlimit(RLIMIT_FSIZE, &古い_);
        rlimit 新しい = 古い_;
        新しい.rlim_cur = 上限;
        有効_ = setrlimit(RLIMIT_FSIZE, &新しい) == 0;
    }
    ~ファイル長制限() { setrlimit(RLIMIT_FSIZE, &古い_); }
    bool 有効() const { return 有効_; }

  private:
    rlimit 古い_{};
    bool 有効_ = false;
};

TEST_F(QtFileSystemTest, 途中で失敗した書き込みは前のファイルを残す) {
    // Smaller than Qt's write buffer (failing only when the buffer is flushed) and larger.
    for (std::size_t 大きさ : {std::size_t(5000), std::size_t(100000)}) {
        put("対局.棋譜", "前の棋譜");
        ファイル結果 r;
        {
            ファイル長制限 制限(4096);
            ASSERT_TRUE(制限.有効());
            r = files_.書く(path("対局.棋譜"), std::vector<std::uint8_t>(大きさ, 'x'));
        }
        EXPECT_FALSE(r.成功) << 大きさ;
        EXPECT_EQ(r.誤り, files_text::kFileTooBig) << 大きさ;
        EXPECT_EQ(get("対局.棋譜"), "前の棋譜") << 大きさ;
        // The temporary file is gone as well.
        EXPECT_EQ(entries(), QStringList({"対局.棋譜"})) << 大きさ;
    }
}

TEST_F(QtFileSystemTest, 書き込めないフォルダでは前のファイルを残す) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("ro"));
    const std::string ro = path("ro");
    std::string_view 理由 = files_text::kNoWritePermission;
    if (geteuid() == 0) {
        // Permissions do not bind root; a read-only file system does.
        if (::mount("kiryuza-test", ro.c_str(), "tmpfs", 0, "size=64k") != 0) {
            GTEST_SKIP() << "cannot mount a file system here";
        }
        put("ro/対局.棋譜", "前の棋譜");
        ASSERT_EQ(::mount("kiryuza-test", ro.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
        理由 = files_text::kReadOnly;
    } else {
        put("ro/対局.棋譜", "前の棋譜");
        QFile::setPermissions(dir_.filePath("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const ファイル結果 r = files_.書く(path("ro/対局.棋譜"), バイト("新しい"));
    const std::string 残り = get("ro/対局.棋譜");
    if (geteuid() == 0) {
        ::umount(ro.c_str());
    } else {
        QFile::setPermissions(dir_.filePath("ro"), QFileDevice::ReadOwner |
                                                       QFileDevice::WriteOwner |
                                                       QFileDevice::ExeOwner);
    }
    EXPECT_FALSE(r.成功);
    EXPECT_EQ(r.誤り, 理由);
    EXPECT_EQ(残り, "前の棋譜");
}

// The record code over the real adapters: a file written, read back, and kept when a later
// write fails.
TEST_F(QtFileSystemTest, 棋譜を書いて読み失敗した上書きでは前の棋譜が残る) {
    QtTextCodec 符号;
    testing::棋譜組立 組立;
    std::mt19937 乱数(7);
    for (int n = 0; n <= 30; ++n) 組立.記入(n, testing::乱数局面(乱数), n, n + 1, n, n);
    const auto 棋譜 = 組立.作る(30);
    const 棋譜見出し 見出し{"練習対局〜第2局", "先手　一郎", "後手 二郎"};
    const std::string p = path("練習.棋譜");
    const 棋譜書込結果 w = 棋譜ファイルを書く(files_, 符号, p, *棋譜, 30, 見出し, "練習.棋譜");
    ASSERT_TRUE(w.成功) << w.誤り;
    const std::string 書いた = get("練習.棋譜");
    EXPECT_EQ(書いた.size(), (15 + 2) + (10 + 2) + (9 + 2) + 30 * 360);
    // The wave dash was written as CP932's 0x81 0x60 and reads back as the full-width tilde.
    EXPECT_NE(書いた.find("\x81\x60"), std::string::npos);

    auto 先 = std::make_unique<棋譜表>();
    const 棋譜読込結果 r = 棋譜を読み込む(files_, 符号, p, *先);
    ASSERT_TRUE(r.成功) << r.誤り;
    EXPECT_EQ(r.棋譜.見出し.対局名, "練習対局～第2局");
    EXPECT_EQ(r.棋譜.見出し.上手名, "先手　一郎");
    EXPECT_EQ(先->棋譜記録数(), 30);
    for (int n = 1; n <= 30; ++n) {
        EXPECT_EQ(std::memcmp(先->項目(n).盤面, 棋譜->項目(n).盤面, sizeof 先->項目(n).盤面), 0);
    }

    棋譜書込結果 失敗;
    {
        ファイル長制限 制限(1000);
        ASSERT_TRUE(制限.有効());
        失敗 = 棋譜ファイルを書く(files_, 符号, p, *棋譜, 30, 見出し, "練習.棋譜");
    }
    EXPECT_FALSE(失敗.成功);
    EXPECT_EQ(失敗.誤り, 書込失敗文("練習.棋譜", files_text::kFileTooBig));
    EXPECT_EQ(get("練習.棋譜"), 書いた);
}

}  // namespace
}  // namespace kiryuza
