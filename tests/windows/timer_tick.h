// One tick of a window's timer, as the event loop delivers it: the tests of
// press-and-hold buttons and timed runs step time this way, never by sleeping.
#pragma once

#include <QTimer>
#include <gtest/gtest.h>

namespace gq
{

inline void tick(QTimer &timer)
{
    QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
}

inline void tick(QTimer *timer)
{
    ASSERT_NE(timer, nullptr);
    tick(*timer);
}

} // namespace gq
