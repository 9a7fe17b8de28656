# The signed installer's test: a plain prefix of its own to install into.
