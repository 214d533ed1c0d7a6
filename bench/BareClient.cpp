// The start-up floor: the least a plug-in process can do before the host sees it. Started
// exactly as the plug-in is (the same four flag pairs), it connects with a websocketpp client
// set up as the plug-in's (its configuration, silent, no Nagle delay), sends the same registration
// and then waits for the host to close the link. Nothing else: no worker, no timer, no PowerPoint.
#include <cstring>
#include <string>

#include <websocketpp/client.hpp>

#include "host/HostLinkConfig.h"
#include "hostpeer/RegistrationMessage.h"

using BareClient = websocketpp::client<HostLinkConfig>;

int main(int argc, char* argv[]) {
    std::string port;
    std::string pluginUUID;
    std::string registerEvent;
    for (int index = 1; index + 1 < argc; index += 2) {
        if (std::strcmp(argv[index], "-port") == 0) {
            port = argv[index + 1];
        } else if (std::strcmp(argv[index], "-pluginUUID") == 0) {
            pluginUUID = argv[index + 1];
        } else if (std::strcmp(argv[index], "-registerEvent") == 0) {
            registerEvent = argv[index + 1];
        }
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
        client.send(handle, RegistrationMessage(registerEvent, pluginUUID),
                    websocketpp::frame::opcode::text, ignored);
    });
    websocketpp::lib::error_code error;
    const BareClient::connection_ptr connection =
        client.get_connection("ws://127.0.0.1:" + port, error);
    if (error) {
        return 1;
    }
    client.connect(connection);
    client.run();
    return 0;
}
