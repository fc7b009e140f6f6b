// Texts that Upvane shows or composes into addresses, each written once.
#pragma once

// Version display (control 1008): two blanks between the words and after the colon.
inline constexpr char kInstalledLinePrefix[] = "Installed  Version:  ";
inline constexpr char kAvailableLineHeading[] = "\nAvailable Version:  ";
inline constexpr char kAvailableMissingHeading[] = "\nAvailable Version:\n";

// Result messages of a check (control 1010, or the version display for a missing document).
inline constexpr char kMsgLatestVersion[] = "You have the latest version.";
inline constexpr char kMsgUpgrade[] = "This is an upgrade\nClick Download to get the Upgrade";
inline constexpr char kMsgVersionNotFound[] = " Available Version information was not found!";

// Text of the what's-new link, followed by the available version and build.
inline constexpr char kWhatsNewTextPrefix[] = "See what's new in ";

// Message box shown when no Internet session can be created.
inline constexpr char kMsgNoSession[] = "Could not establish HTTP session, please check your connection";
inline constexpr char kCaptionConnectionError[] = "Connection Error";

// Address parts. The what's-new document lives on the vendor's own web host; its blank and
// apostrophe stand in the address as they are.
inline constexpr char kSchemeHttp[] = "http://";
inline constexpr char kSchemeMailto[] = "mailto:";
inline constexpr char kVendorHost[] = "www.quillory.com";
inline constexpr char kWhatsNewPath[] = "/What's New.pdf";
