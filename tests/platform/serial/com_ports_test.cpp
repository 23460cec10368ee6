#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/serial/com_ports.h"

namespace serial {
namespace {

TEST(ComPorts, MappingPrecedence) {
    clear_com_mappings();
    unsetenv("VELMOR_COM5");
    EXPECT_EQ(com_device_path(1), "/dev/ttyS0");
    EXPECT_EQ(com_device_path(5), "/dev/ttyS4");
    setenv("VELMOR_COM5", "/dev/ttyUSB0", 1);
    EXPECT_EQ(com_device_path(5), "/dev/ttyUSB0");
    EXPECT_TRUE(parse_com_mapping("5=/dev/pts/9"));
    EXPECT_EQ(com_device_path(5), "/dev/pts/9");
    set_com_mapping(5, "");
    EXPECT_EQ(com_device_path(5), "/dev/ttyUSB0");
    unsetenv("VELMOR_COM5");
    clear_com_mappings();
}

TEST(ComPorts, CommandLineFormAndDeviceNames) {
    clear_com_mappings();
    for (const char* bad : {"", "3", "=x", "3=", "x=/dev/a", "0=/dev/a", "256=/dev/a", "-1=/a"}) {
        EXPECT_FALSE(parse_com_mapping(bad)) << bad;
    }
    EXPECT_TRUE(parse_com_mapping("12=/dev/ttyACM0=odd"));
    EXPECT_EQ(com_device_path(12), "/dev/ttyACM0=odd");
    clear_com_mappings();

    EXPECT_EQ(com_port_number("COM3"), 3);
    EXPECT_EQ(com_port_number("com10"), 10);
    EXPECT_EQ(com_port_number("COM0"), 0);
    EXPECT_FALSE(com_port_number("COM"));
    EXPECT_FALSE(com_port_number("COM3x"));
    EXPECT_FALSE(com_port_number("LPT1"));
    EXPECT_FALSE(com_port_number("COM-1"));
}

}  // namespace
}  // namespace serial
