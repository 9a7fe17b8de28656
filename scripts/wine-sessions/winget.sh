# The package manager's installation test: a plain prefix of its own.
