#pragma once

#include <cstdlib>
#include <memory>

// An xcb reply, freed with free() as libxcb asks, however the scope ends.
template<typename Reply> struct XcbReplyDeleter
{
    void operator()(Reply *reply) const { std::free(reply); }
};
template<typename Reply> using XcbReply = std::unique_ptr<Reply, XcbReplyDeleter<Reply>>;
