"""The exception every failed call raises."""


class Error(Exception):
    """A call the library refused: its result code, message and the failing method."""

    def __init__(self, hresult, description="", source=""):
        self.hresult = hresult
        self.description = description
        self.source = source
        text = f"{description} (0x{hresult:08X})" if description else f"0x{hresult:08X}"
        super().__init__(text)

    def __reduce__(self):
        return (Error, (self.hresult, self.description, self.source))
