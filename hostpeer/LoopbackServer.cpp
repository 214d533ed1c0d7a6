#include "hostpeer/LoopbackServer.h"

void PrepareLoopbackServer(LoopbackServer& server) {
    server.clear_access_channels(websocketpp::log::alevel::all);
    server.clear_error_channels(websocketpp::log::elevel::all);
    server.init_asio();
    server.set_reuse_addr(true);
    // The option is set once the accepted socket is open.
    server.set_tcp_pre_init_handler([&server](websocketpp::connection_hdl handle) {
        asio::error_code ignored;
        server.get_con_from_hdl(handle)->get_socket().set_option(asio::ip::tcp::no_delay(true),
                                                                 ignored);
    });
}
