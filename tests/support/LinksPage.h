#pragma once
// The links page the reader writes into its working folder, byte for byte as it must stand.
inline constexpr const char* LinksPageBytes =
    "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n"
    "<BODY BGCOLOR=#000000 LINK=#DDFF00 VLINK=#DDFF00 ALINK=#00FF00>\r\n"
    "<P ALIGN=\"CENTER\">\r\n"
    "<FONT SIZE=\"5\" FACE=\"Verdana, arial, sans-serif\" COLOR=#DDFF00>\r\n"
    "<BR><BR><BR><BR><BR>\r\n"
    "<A HREF=\"http://www.astralume.example/\" TARGET=\"_new\">\r\n"
    "<I>Connetti a Astralume</A></I></FONT></P>\r\n"
    "</BODY></HTML>\r\n";
