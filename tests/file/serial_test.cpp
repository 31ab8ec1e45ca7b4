// Serial ports: the COMn: grammar, the settings as terminal flags, and a port that a
// pseudo-terminal stands for.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/runtime_flags.h"
#include "file/file_fixture.h"
#include "file/file_queries.h"
#include "file/input_dollar.h"
#include "file/input_file.h"
#include "file/print_file.h"
#include "file/serial.h"

namespace {

enum { binary_mode = 2, input_mode = 3, output_mode = 4 };

struct settings {
    int32_t baud;
    int8_t parity;
    uint8_t data_bits, stop_x10, ascii, lf, rs;
    int32_t cd, cs, ds, op;
};

settings of(const gfs_file_struct& f) {
    return {f.com_baud, f.com_parity, f.com_data_bits, f.com_stop_bits_x10, f.com_ascii, f.com_lf, f.com_rs,
            f.com_cd_ms,  f.com_cs_ms,  f.com_ds_ms,     f.com_op_ms};
}
bool operator==(const settings& a, const settings& b) {
    return a.baud == b.baud && a.parity == b.parity && a.data_bits == b.data_bits && a.stop_x10 == b.stop_x10 &&
           a.ascii == b.ascii && a.lf == b.lf && a.rs == b.rs && a.cd == b.cd && a.cs == b.cs && a.ds == b.ds &&
           a.op == b.op;
}
std::ostream& operator<<(std::ostream& o, const settings& s) {
    return o << s.baud << "," << int(s.parity) << "," << int(s.data_bits) << "," << int(s.stop_x10) << ",asc "
             << int(s.ascii) << ",lf " << int(s.lf) << ",rs " << int(s.rs) << ",cd " << s.cd << ",cs " << s.cs
             << ",ds " << s.ds << ",op " << s.op;
}

TEST(SerialSyntax, NamesAndTheirSettings) {
    struct Case {
        const char* name;
        int32_t port;
        settings expected;
    } cases[] = {
        {"COM1:", 1, {300, 1, 7, 10, 0, 0, 0, 0, 1000, 1000, 10000}},
        {"COM1:110,N,5", 1, {110, 0, 5, 15, 0, 0, 0, 0, 1000, 1000, 10000}},
        {"COM1:110,N,8", 1, {110, 0, 8, 20, 0, 0, 0, 0, 1000, 1000, 10000}},
        {"COM1:9600,N,8,1", 1, {9600, 0, 8, 10, 0, 0, 0, 0, 1000, 1000, 10000}},
        {"com2:9600,n,8,1,asc,lf", 2, {9600, 0, 8, 10, 1, 1, 0, 0, 1000, 1000, 10000}},
        {"COM2:9600,N,8,1,LF", 2, {9600, 0, 8, 10, 0, 0, 0, 0, 1000, 1000, 10000}},
        {"COM1:,,,,DS0", 1, {300, 1, 7, 10, 0, 0, 0, 0, 1000, 0, 0}},
        {"COM1:,,,,RS", 1, {300, 1, 7, 10, 0, 0, 1, 0, 1000, 1000, 10000}},
        {"COM1:9600,N,8,1,DS7000,", 1, {9600, 0, 8, 10, 0, 0, 0, 0, 1000, 7000, 65535}},
        {"COM255:1200,PE,6,2,CS,CD20,OP5,RB512,TB9,BIN", 255, {1200, 5, 6, 20, 0, 0, 0, 20, 1000, 1000, 5}},
        {"COM9:,O,,,OP", 9, {300, 2, 7, 10, 0, 0, 0, 0, 1000, 1000, 10000}},
    };
    for (const Case& c : cases) {
        gfs_file_struct f{};
        EXPECT_EQ(gfs_open_com_syntax(c.name, &f), 1) << c.name;
        EXPECT_EQ(f.com_port, c.port) << c.name;
        EXPECT_EQ(of(f), c.expected) << c.name;
    }
    for (const char* bad :
         {"COM1:9600,N,8,1.5", "COM1: 9600", "COM1:9600N", "COM1:0", "COM1:9600,X", "COM1:9600,N,9",
          "COM1:9600,N,8,1,CS70000", "COM1:9600,N,8,1,RS,RS", "COM1:9600,N,8,1,ASC,BIN", "COM1:RS",
          "COM1:9600,N,8,1,RS5", "COM1:9600,N,8,1,,RS", "COM1:99999999999", "COM1:9600,N,8,3", "COM1:,,,,ABCD",
          "COM1:09600", "COM256:", "COM:"}) {
        gfs_file_struct f{};
        EXPECT_EQ(gfs_open_com_syntax(bad, &f), -1) << bad;
    }
    for (const char* disk : {"COM01:", "COM0:", "COMX:", "COM", "COM1", "CON1:", "c0m1:", "file.txt"}) {
        gfs_file_struct f{};
        f.com_port = 7;
        EXPECT_EQ(gfs_open_com_syntax(disk, &f), 0) << disk;
        EXPECT_EQ(f.com_port, 0) << disk;
    }
}

TEST(SerialSyntax, PortNOpensTheNthSerialDevice) {
    const struct {
        int32_t port;
        const char* device;
    } cases[] = {{1, "/dev/ttyS0"}, {3, "/dev/ttyS2"}, {255, "/dev/ttyS254"}};
    for (const auto& c : cases) EXPECT_EQ(gfs_com_device(c.port), c.device) << c.port;
}

TEST(SerialSyntax, SettingsAsTerminalFlags) {
    struct Case {
        uint8_t data_bits, stop_x10;
        int8_t parity;
        tcflag_t set, clear, input_set;
    } cases[] = {
        {7, 10, 1, CS7 | PARENB, CSTOPB | PARODD | CMSPAR, 0},
        {5, 15, 0, CS5 | CSTOPB, PARENB, 0},
        {8, 20, 2, CS8 | PARENB | PARODD | CSTOPB, CMSPAR, 0},
        {8, 10, 3, CS8 | PARENB | CMSPAR, PARODD | CSTOPB, 0},
        {8, 10, 4, CS8 | PARENB | CMSPAR | PARODD, CSTOPB, 0},
        {8, 10, 5, CS8 | PARENB, PARODD | CMSPAR, INPCK},
    };
    for (const Case& c : cases) {
        gfs_file_struct f{};
        f.com_baud = 9600;
        f.com_data_bits = c.data_bits;
        f.com_stop_bits_x10 = c.stop_x10;
        f.com_parity = c.parity;
        termios t{};
        t.c_cflag = PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;  // what the port had
        t.c_iflag = INPCK;
        gfs_com_termios(&f, &t);
        SCOPED_TRACE(int(c.parity) * 100 + c.data_bits * 10 + c.stop_x10);
        EXPECT_EQ(t.c_cflag & CSIZE, c.set & CSIZE);
        EXPECT_EQ(t.c_cflag & (c.set & ~CSIZE), c.set & ~CSIZE);
        EXPECT_EQ(t.c_cflag & c.clear, 0u);
        EXPECT_EQ(t.c_iflag & INPCK, c.input_set);
        EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), CLOCAL | CREAD);
        EXPECT_EQ(t.c_cflag & CRTSCTS, CRTSCTS);  // kept without RS
        EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u);
        EXPECT_EQ(cfgetospeed(&t), B9600);
        f.com_rs = 1;
        gfs_com_termios(&f, &t);
        EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    }
}

// COM3 points at the slave side of a pseudo-terminal; the test is the other end.
class SerialPort : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        print_file_register();
        input_file_register();
        stop_program.store(0);
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(grantpt(master_), 0);
        ASSERT_EQ(unlockpt(master_), 0);
        gfs_com_set_device_for_tests(3, ptsname(master_));
        // Keep the slave side open, so the master never reads a hang-up.
        keeper_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
    }
    void TearDown() override {
        gfs_close_all_files();
        gfs_com_set_device_for_tests(3, "");
        stop_program.store(0);
        ::close(keeper_);
        ::close(master_);
        FileTest::TearDown();
    }
    void send(const std::string& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::string received() {
        std::string text;
        char buffer[256];
        pollfd p{master_, POLLIN, 0};
        while (poll(&p, 1, 100) > 0 && (p.revents & POLLIN)) {
            ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            text.append(buffer, static_cast<size_t>(n));
        }
        return text;
    }
    // Drains what the keeper's side would otherwise also see.
    int master_ = -1, keeper_ = -1;
};

TEST_F(SerialPort, BytesWaitingAndReadsThatReturnAtOnce) {
    ASSERT_EQ(open("COM3:9600,N,8,1,DS0", binary_mode, 1), 0);
    EXPECT_EQ(file(1)->com_port, 3);
    send("hi");
    EXPECT_EQ(func_loc(1), 2);
    EXPECT_EQ(str(func_input(2, 1, 1)), "hi");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(str(func_input(3, 1, 1)), "");  // nothing waiting: a short read at once
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(func_eof(1), -1);
    EXPECT_EQ(take_error(), 0);
    func_lof(1);
    EXPECT_EQ(take_error(), 54);
    EXPECT_EQ(open("COM3:", binary_mode, 2), 68);  // the port is taken
}

TEST_F(SerialPort, AReadWaitsForItsTimeOut) {
    ASSERT_EQ(open("COM3:9600,N,8,1,DS200", binary_mode, 1), 0);
    auto start = std::chrono::steady_clock::now();
    uint8_t buffer[4];
    memset(buffer, 0xEE, sizeof buffer);
    EXPECT_EQ(gfs_read(gfs_get_fileno(1), -1, buffer, 4), gfs_read_past_end);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), std::string(4, '\0'));
    EXPECT_EQ(func_eof(1), -1);
}

TEST_F(SerialPort, StoppingTheProgramEndsALongWait) {
    ASSERT_EQ(open("COM3:9600,N,8,1,DS60000", binary_mode, 1), 0);
    std::thread stopper([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop_program.store(1);
    });
    auto start = std::chrono::steady_clock::now();
    uint8_t b;
    EXPECT_EQ(gfs_read(gfs_get_fileno(1), -1, &b, 1), gfs_read_past_end);
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
}

TEST_F(SerialPort, TextStatementsKeepTheByteReadAhead) {
    ASSERT_EQ(open("COM3:9600,N,8,1,DS50", input_mode, 1), 0);  // no first-byte probe
    EXPECT_EQ(func_loc(1), 0);
    send("ab,cd\r\nef\n");
    zvs* v = var();
    sub_file_input_string(1, v);
    EXPECT_EQ(str(v), "ab");
    sub_file_input_string(1, v);
    EXPECT_EQ(str(v), "cd");
    sub_file_input_string(1, v);  // the 'e' read ahead after CR LF was kept
    EXPECT_EQ(str(v), "ef");
    EXPECT_EQ(take_error(), 0);

    gfs_com_set_device_for_tests(4, folder_ + "/no-such-port");
    ASSERT_EQ(open("COM4:", output_mode, 2), 68);
    gfs_com_set_device_for_tests(4, "");
    sub_close(1, 1);
    ASSERT_EQ(open("COM3:9600,N,8,1", output_mode, 2), 0);
    sub_file_print(2, text("out"), 0, 1, 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(received(), "out" + std::string(11, ' ') + "\r\n");
}

}  // namespace
