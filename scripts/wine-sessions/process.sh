# The tests that start the built player as a process of its own: a plain
# prefix, so they can run beside the in-process tests of the default session.
