// The start-up floor: the least a plug-in process can do before the host sees it. Started
// exactly as the plug-in is (the same four flag pairs, read by its parser), it connects with a
// websocketpp client set up as the plug-in's (its configuration, silent, no Nagle delay), sends
// the registration the plug-in sends and then waits for the host to close the link. Nothing else:
// no worker, no timer, no PowerPoint.
#include <optional>
#include <string>

#include <websocketpp/client.hpp>

#include "host/CommandLine.h"
#include "host/HostCommands.h"
#include "host/HostLinkConfig.h"

using BareClient = websocketpp::client<HostLinkConfig>;

int main(int argc, char* argv[]) {
    const std::optional<StartupArguments> arguments = ParseCommandLine(argc, argv);
    if (!arguments) {
        return 1;
    }
    BareClient client;
    client.clear_access_channels(websocketpp::log::alevel::all);
    client.clear_error_channels(websocketpp::log::elevel::all);
    client.init_asio();
    client.set_tcp_pre_init_handler([&client](websocketpp::connection_hdl handle) {
        asio::error_code ignored;
        client.get_con_from_hdl(handle)->get_socket().set_option(asio::ip::tcp::no_delay(true),
                                                                 ignored);
    });
    client.set_open_handler([&](websocketpp::connection_hdl handle) {
        websocketpp::lib::error_code ignored;
        client.send(handle, SerializeRegistration(arguments->registerEvent, arguments->pluginUUID),
                    websocketpp::frame::opcode::text, ignored);
    });
    websocketpp::lib::error_code error;
    const BareClient::connection_ptr connection =
        client.get_connection("ws://127.0.0.1:" + std::to_string(arguments->port), error);
    if (error) {
        return 1;
    }
    client.connect(connection);
    client.run();
    return 0;
}
